#pragma once

#include <QList>
#include <QPair>
#include <QString>

class RegistryStore;

// The per-user settings store: application -> section -> key -> text, kept under
// "HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>".
class SettingsStore final
{
public:
    using Entries = QList<QPair<QString, QString>>;

    // The program's own application name; the backslash makes it one key level deeper.
    static const QString AppName;
    // The store shared with the maker's other programs (characters folder).
    static const QString SharedAppName;
    // Root of every application's settings, as the registry path.
    static const QString BasePath;

    // Uses the global store unless another one is given (tests, tools).
    explicit SettingsStore(RegistryStore *store = nullptr);

    // Points the global store and the start-at-login entry at the user's files (AppPaths):
    // once at start, and again whenever the home changes (tests).
    static void useUserFiles();

    static QString applicationPath(const QString &application);
    static QString sectionPath(const QString &application, const QString &section);

    QString get(const QString &application, const QString &section, const QString &key,
                const QString &defaultValue = QString()) const;
    bool save(const QString &application, const QString &section, const QString &key,
              const QString &text);
    // Every key and value of a section in the order they were written.
    Entries all(const QString &application, const QString &section) const;
    bool deleteSection(const QString &application, const QString &section);
    bool deleteApplication(const QString &application);
    // Deletes the section and writes every entry again, as one step.
    bool replaceSection(const QString &application, const QString &section, const Entries &entries);

    RegistryStore &registry() const { return *m_store; }

private:
    RegistryStore *m_store;
};
