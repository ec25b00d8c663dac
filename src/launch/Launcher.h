#pragma once

#include "platform/MimeDefaults.h"

#include <QString>
#include <QUrl>
#include <functional>

class DesktopOpener;
class SettingsStore;

// What the launcher needs from the rest of the program.
struct LauncherParts
{
    DesktopOpener *opener = nullptr;
    SettingsStore *store = nullptr;
    MimeDefaults mime = MimeDefaults::fromEnvironment();
    // Puts the character back at its home before anything opens; may be empty.
    std::function<void()> placeCharacter;
    // Shows an error message box; may be empty.
    std::function<void(const QString &)> showError;
};

// The one way documents, folders, programs, pages and mail leave the program. Targets go
// to the opener as one argument each, never through a shell.
class Launcher final
{
public:
    enum OpenMode { PageMode = 0, DocumentMode = 1, FolderMode = 2 };

    static inline const char *const MailError =
            "Error sending mail. Make sure that you have your email client  correctly "
            "installed and configured";

    explicit Launcher(LauncherParts parts);

    // `web` with PageMode opens the page in a new window of the browser (the program for
    // HTML files) when there is one.
    void OpenTarget(const QString &target, bool web, int mode);
    // The desktop entry of the program for files with `extension`; empty when none.
    QString FindAssociatedProgram(const QString &extension) const;
    // Opens a mail to `address`; false (after the error message) when nothing took it.
    bool SendMailTo(const QString &address);

    // The favourites chosen in the menu, by their caption.
    void openFavouriteFolder(const QString &caption);
    void openFavouriteSite(const QString &caption);
    void openFavouriteProgram(const QString &caption);

    // A folder target kept in the old file-explorer form ("/e,::{...}") as the file
    // manager's location; other targets unchanged.
    static QString folderLocation(const QString &target);
    // A target that no program can read as an option: a leading "-" becomes "./-".
    static QString safeArgument(const QString &target);
    // The user manual shipped in `programFolder`.
    static QString manualPath(const QString &programFolder);
    // `path` on the site, or the local manual when no site is configured.
    static QString helpAddress(const QUrl &siteRoot, const QString &path,
                               const QString &programFolder);

private:
    bool startEntry(const QString &entryFile, const QStringList &targets);
    void openDocument(const QString &target);

    LauncherParts m_parts;
};
