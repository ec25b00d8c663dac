#include "base/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr QFile::Permissions kPrivateFolder =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
constexpr QFile::Permissions kPrivateFile = QFile::ReadOwner | QFile::WriteOwner;

QString homeOverride()
{
    return qEnvironmentVariable("QUILLOMI_HOME");
}

// Creates the folder for the user alone (0700; the folders above it as usual). Anyone else's
// folder, or a link, is left as it is for its user to refuse.
QString ensured(const QString &path)
{
    if (QFileInfo(path).exists()) {
        AppPaths::keepPrivate(path);
    } else {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QDir().mkdir(path, kPrivateFolder);
    }
    return path;
}

} // namespace

namespace AppPaths {

void keepPrivate(const QString &path)
{
    struct stat info = {};
    const QByteArray native = QFile::encodeName(path);
    if (::lstat(native.constData(), &info) == 0 && !S_ISLNK(info.st_mode) &&
        info.st_uid == ::geteuid() && (info.st_mode & 077))
        ::chmod(native.constData(), info.st_mode & 0700);
}

QString join(const QString &folder, const QString &name)
{
    if (folder.isEmpty())
        return name;
    if (folder.endsWith(u'/'))
        return folder + name;
    return folder + u'/' + name;
}

QString programFolder()
{
    const QString home = homeOverride();
    if (!home.isEmpty())
        return ensured(join(home, QStringLiteral("share")));
    return ensured(join(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation),
                        QStringLiteral("quillomi")));
}

QString userConfigRoot()
{
    const QString home = homeOverride();
    if (!home.isEmpty())
        return join(home, QStringLiteral("config"));
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString autostartFile()
{
    return join(join(userConfigRoot(), QStringLiteral("autostart")),
                QStringLiteral("quillomi.desktop"));
}

QString configFolder()
{
    // Under QUILLOMI_HOME the configuration root is the program's own.
    if (!homeOverride().isEmpty())
        return ensured(userConfigRoot());
    return ensured(join(userConfigRoot(), QStringLiteral("quillomi")));
}

QString settingsFile()
{
    return join(configFolder(), QStringLiteral("registry.db"));
}

QString runtimeFolder()
{
    const QString home = homeOverride();
    if (!home.isEmpty())
        return ensured(join(home, QStringLiteral("run")));
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return ensured(join(runtime, QStringLiteral("quillomi")));
    // No runtime folder of the user's own: one named for this user in the shared temporary
    // folder. Another user can make it first; the instance check refuses it then.
    return ensured(join(QDir::tempPath(), QStringLiteral("quillomi-%1").arg(::geteuid())));
}

QString defaultCharsFolder()
{
    return join(programFolder(), QStringLiteral("chars"));
}

QStringList shippedDataFolders()
{
    QStringList folders;
    const QString overrideDir = qEnvironmentVariable("QUILLOMI_DATA_DIR");
    if (!overrideDir.isEmpty())
        folders << overrideDir;
    // Installed layout: <prefix>/bin/quillomi next to <prefix>/share/quillomi.
    const QString appDir =
            QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    if (!appDir.isEmpty()) {
        const QString installed =
                QDir(appDir).absoluteFilePath(QStringLiteral("../share/quillomi"));
        if (QFileInfo(installed).isDir())
            folders << QDir::cleanPath(installed);
    }
    if (QFileInfo(QStringLiteral(QUILLOMI_INSTALL_DATA_DIR)).isDir())
        folders << QStringLiteral(QUILLOMI_INSTALL_DATA_DIR);
    // Run from a build: the source tree's data and what the build generated.
    for (const QString &dir :
         {QStringLiteral(QUILLOMI_SOURCE_DATA_DIR), QStringLiteral(QUILLOMI_BUILD_DATA_DIR)}) {
        if (QFileInfo(dir).isDir())
            folders << dir;
    }
    folders.removeDuplicates();
    return folders;
}

SeedResult seedProgramFolder()
{
    SeedResult result;
    const QDir target(programFolder());
    for (const QString &source : shippedDataFolders()) {
        const QDir sourceDir(source);
        QDirIterator it(source, QDir::Files | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString from = it.next();
            const QString relative = sourceDir.relativeFilePath(from);
            const QString to = target.filePath(relative);
            if (QFileInfo::exists(to))
                continue;
            QStringList folders;
            for (QString folder = QFileInfo(relative).path(); folder != u'.';
                 folder = QFileInfo(folder).path())
                folders.prepend(folder);
            for (const QString &folder : folders)
                ensured(target.filePath(folder));
            // Copy to a temporary name first so a half-copied file never looks complete.
            const QString partial = to + QStringLiteral(".part");
            QFile::remove(partial);
            if (QFile::copy(from, partial) && QFile::setPermissions(partial, kPrivateFile) &&
                QFile::rename(partial, to)) {
                ++result.copied;
            } else {
                QFile::remove(partial);
                result.failed << relative;
            }
        }
    }
    return result;
}

} // namespace AppPaths
