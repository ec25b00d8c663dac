#include "launch/Launcher.h"

#include "launch/Favourites.h"
#include "platform/DesktopEntry.h"
#include "platform/DesktopOpener.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString AppTitle = QStringLiteral("::: Quillomi :::");

// The file explorer's views kept in old stores, by class id, and what the file managers
// of Linux desktops show instead.
const QList<QPair<QString, QString>> &explorerViews()
{
    static const QList<QPair<QString, QString>> views = {
            {QStringLiteral("::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"),
             QStringLiteral("computer:///")},
            {QStringLiteral("::{208D2C60-3AEA-1069-A2D7-08002B30309D}"),
             QStringLiteral("network:///")},
            {QStringLiteral("::{F02C1A0D-BE21-4350-88B0-7367FC96EF3C}"),
             QStringLiteral("network:///")},
            {QStringLiteral("::{645FF040-5081-101B-9F08-00AA002F954E}"),
             QStringLiteral("trash:///")},
    };
    return views;
}

} // namespace

Launcher::Launcher(LauncherParts parts)
    : m_parts(std::move(parts))
{}

QString Launcher::safeArgument(const QString &target)
{
    return target.startsWith(u'-') ? QStringLiteral("./") + target : target;
}

QString Launcher::folderLocation(const QString &target)
{
    QString rest = target.trimmed();
    // The explorer's switches in front of the folder: "/e,", "/n,", "/root,", "/select,".
    static const QStringList switches = {QStringLiteral("/e,"), QStringLiteral("/n,"),
                                         QStringLiteral("/root,"), QStringLiteral("/select,")};
    for (bool again = true; again;) {
        again = false;
        for (const QString &s : switches) {
            if (rest.startsWith(s, Qt::CaseInsensitive)) {
                rest = rest.mid(s.size()).trimmed();
                again = true;
            }
        }
    }
    if (rest.compare(QLatin1String("/e"), Qt::CaseInsensitive) == 0)
        rest.clear();
    for (const auto &[classId, location] : explorerViews()) {
        if (rest.startsWith(classId, Qt::CaseInsensitive))
            return location;
    }
    return rest;
}

QString Launcher::manualPath(const QString &programFolder)
{
    return QDir(programFolder).filePath(QStringLiteral("manual.html"));
}

QString Launcher::helpAddress(const QUrl &siteRoot, const QString &path,
                              const QString &programFolder)
{
    if (siteRoot.isEmpty())
        return QUrl::fromLocalFile(manualPath(programFolder)).toString();
    QString root = siteRoot.toString();
    if (!root.endsWith(u'/'))
        root += u'/';
    QString rel = path;
    while (rel.startsWith(u'/'))
        rel.remove(0, 1);
    return root + rel;
}

bool Launcher::startEntry(const QString &entryFile, const QStringList &targets)
{
    const auto entry = DesktopEntry::read(entryFile);
    if (!entry)
        return false;
    const QStringList command = entry->commandFor(targets);
    if (command.isEmpty())
        return false;
    return m_parts.opener->startProgram(command.first(), command.mid(1));
}

void Launcher::openDocument(const QString &target)
{
    if (target.isEmpty())
        return;
    // A desktop entry stands for its program; a program path or a command name on the PATH
    // is started; anything else goes to the desktop's default handler.
    if (target.endsWith(QLatin1String(".desktop")) && QFileInfo(target).isFile()) {
        startEntry(target, {});
        return;
    }
    const QFileInfo file(target);
    if (target.contains(u'/') ? (file.isAbsolute() && file.isFile() && file.isExecutable())
                              : !QStandardPaths::findExecutable(target).isEmpty()) {
        m_parts.opener->startProgram(target, {});
        return;
    }
    m_parts.opener->openWithDefault(safeArgument(target));
}

void Launcher::OpenTarget(const QString &target, bool web, int mode)
{
    if (m_parts.placeCharacter)
        m_parts.placeCharacter();
    if (!m_parts.opener)
        return;
    switch (mode) {
    case DocumentMode:
        openDocument(target);
        break;
    case FolderMode: {
        const QString location = folderLocation(target);
        const QStringList targets =
                location.isEmpty() ? QStringList() : QStringList{safeArgument(location)};
        const QString manager = m_parts.mime.defaultEntry(QStringLiteral("inode/directory"));
        if (manager.isEmpty() || !startEntry(manager, targets))
            m_parts.opener->openWithDefault(location.isEmpty() ? QDir::homePath()
                                                               : safeArgument(location));
        break;
    }
    case PageMode: {
        const QString browser = web ? FindAssociatedProgram(QStringLiteral("htm")) : QString();
        if (browser.isEmpty() || !startEntry(browser, {safeArgument(target)}))
            m_parts.opener->openWithDefault(safeArgument(target));
        break;
    }
    default:
        break;
    }
}

QString Launcher::FindAssociatedProgram(const QString &extension) const
{
    return m_parts.mime.FindAssociatedProgram(extension);
}

bool Launcher::SendMailTo(const QString &address)
{
    const QString subject = QStringLiteral("About ") + AppTitle + u':';
    const QString mail = QStringLiteral("mailto:") + address + QStringLiteral("?subject=") +
                         QString::fromLatin1(QUrl::toPercentEncoding(subject));
    // xdg-open reports a missing mail program only after it has started: ask first.
    const QString mailer = m_parts.mime.defaultEntry(QStringLiteral("x-scheme-handler/mailto"));
    if (m_parts.opener && !mailer.isEmpty() && startEntry(mailer, {mail}))
        return true;
    if (m_parts.showError)
        m_parts.showError(QString::fromLatin1(MailError));
    return false;
}

void Launcher::openFavouriteFolder(const QString &caption)
{
    if (!m_parts.store)
        return;
    OpenTarget(Favourites::FindFavouriteTarget(*m_parts.store, QStringLiteral("dir"), caption),
               false, FolderMode);
}

void Launcher::openFavouriteSite(const QString &caption)
{
    if (!m_parts.store)
        return;
    OpenTarget(Favourites::FindFavouriteTarget(*m_parts.store, QStringLiteral("site"), caption),
               false, PageMode);
}

void Launcher::openFavouriteProgram(const QString &caption)
{
    if (!m_parts.store)
        return;
    QString target =
            Favourites::FindFavouriteTarget(*m_parts.store, QStringLiteral("pro"), caption);
    if (target.startsWith(QLatin1String("*.")))
        target = FindAssociatedProgram(target.mid(2));
    if (target.isEmpty())
        return;
    OpenTarget(target, false, DocumentMode);
}
