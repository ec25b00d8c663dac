#include "base/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString homeOverride()
{
    return qEnvironmentVariable("QUILLOMI_HOME");
}

QString ensured(const QString &path)
{
    QDir().mkpath(path);
    return path;
}

} // namespace

namespace AppPaths {

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
    QString base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (base.isEmpty())
        base = QDir::tempPath();
    return ensured(join(base, QStringLiteral("quillomi")));
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
            QDir().mkpath(QFileInfo(to).absolutePath());
            // Copy to a temporary name first so a half-copied file never looks complete.
            const QString partial = to + QStringLiteral(".part");
            QFile::remove(partial);
            if (QFile::copy(from, partial) && QFile::rename(partial, to)) {
                QFile(to).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                         QFile::ReadOther);
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
