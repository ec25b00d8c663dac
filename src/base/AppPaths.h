#pragma once

#include <QString>
#include <QStringList>

// Where the program keeps its files. QUILLOMI_HOME=DIR puts everything under DIR
// (tests, portable use); otherwise the XDG folders of the user are used.
namespace AppPaths {

// The per-user program folder: language, location, phrase and tour files, chars/, diary.
QString programFolder();
// The user's configuration root: DIR/config under QUILLOMI_HOME, else $XDG_CONFIG_HOME.
QString userConfigRoot();
// The XDG autostart entry that starts the program at login.
QString autostartFile();
// Folder of the settings store.
QString configFolder();
// The settings store file (the registry stand-in).
QString settingsFile();
// Per-user runtime folder for the single-instance lock and socket.
QString runtimeFolder();
// Default characters folder: the program folder followed by "chars".
QString defaultCharsFolder();
// Folders holding the shipped data, most specific first (installed, or the source and
// build trees when run from a build).
QStringList shippedDataFolders();

struct SeedResult
{
    int copied = 0;
    QStringList failed; // relative paths that could not be copied
};

// Copies every shipped file that is missing in the program folder; never overwrites.
SeedResult seedProgramFolder();

// Takes the group's and others' access away from a file or folder of this user's (made by an
// older version, or under a loose umask); anyone else's, and links, are left alone.
void keepPrivate(const QString &path);

// Joins a folder and a name with exactly one "/" between them.
QString join(const QString &folder, const QString &name);

} // namespace AppPaths
