#pragma once

#include <QString>

class RegistryStore;

// Mirrors the start-at-login value of the registry (the Run key, value named after the
// application title) as an XDG autostart entry, so the desktop really starts the program at
// login: a value that is present and not blank writes the entry, anything else removes it.
class AutostartEntry final
{
public:
    AutostartEntry() = delete;

    static const QString RunKey;    // "HKEY_CURRENT_USER\Software\...\CurrentVersion\Run"
    static const QString ValueName; // the application title

    // The entry file that mirrors the value; empty (the default) mirrors nothing.
    static QString file();
    static void setFile(const QString &file);

    // True when a write to the key at `keyPath` (or the deletion of it) may change the value.
    static bool concerns(const QString &keyPath);

    // Brings the entry in line with the value in `store`; false when the file could not be
    // written or removed.
    static bool sync(RegistryStore &store);

    // The program the entry starts for the stored text: the stored path when it names an
    // executable file here, else the running executable (a Windows-style path from an old
    // store cannot start anything on this system).
    static QString programFor(const QString &storedPath);

    // The Exec value for `program`, quoted and escaped as the Desktop Entry format wants.
    static QString execValue(const QString &program);

    // The whole entry file for `program`.
    static QByteArray contents(const QString &program);
};
