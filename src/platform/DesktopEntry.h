#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// One application's desktop entry (a ".desktop" file): its name and its command line.
class DesktopEntry final
{
public:
    // Reads the "[Desktop Entry]" group of `file`; nothing when it cannot be read, has no
    // command or is hidden.
    static std::optional<DesktopEntry> read(const QString &file);

    QString file() const { return m_file; }
    QString name() const { return m_name; }
    // The command split into its arguments, field codes still in place.
    QStringList exec() const { return m_exec; }

    // Program and arguments that open `targets` (none: the program on its own). "%f"/"%u"
    // take the first target, "%F"/"%U" all of them; the other field codes go.
    QStringList commandFor(const QStringList &targets) const;

    // Splits a command line by the quoting rules of desktop entries.
    static QStringList splitExec(const QString &exec);

private:
    QString m_file;
    QString m_name;
    QString m_icon;
    QStringList m_exec;
};
