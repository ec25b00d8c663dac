#pragma once

#include "platform/MimeDefaults.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// A desktop of the test's own: XDG configuration and data folders in a temporary folder,
// with desktop entries and default applications written by the test.
class DesktopFixture final
{
public:
    QString configDir() const { return m_dir.filePath("config"); }
    QString dataDir() const { return m_dir.filePath("data"); }
    MimeDefaults mime() const { return MimeDefaults({configDir()}, {dataDir()}); }

    // Writes applications/<id> with the given command; returns its path.
    QString addEntry(const QString &id, const QString &exec, const QString &extra = QString())
    {
        const QString path = QDir(dataDir()).filePath("applications/" + id);
        write(path,
              "[Desktop Entry]\nType=Application\nName=" + id + "\nExec=" + exec + "\n" + extra);
        return path;
    }
    // Makes `id` the default application of each MIME type in `types`.
    void setDefault(const QStringList &types, const QString &id)
    {
        m_defaults += types.join('=' + id + ";\n") + '=' + id + ";\n";
        write(QDir(configDir()).filePath("mimeapps.list"), "[Default Applications]\n" + m_defaults);
    }
    static void write(const QString &path, const QString &text)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(text.toUtf8());
    }

private:
    QTemporaryDir m_dir;
    QString m_defaults;
};
