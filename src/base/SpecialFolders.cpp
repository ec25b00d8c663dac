#include "base/SpecialFolders.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>

QString GetSpecialFolder(QWidget *, int id)
{
    QStandardPaths::StandardLocation location;
    switch (id) {
    case SpecialFolder::Documents:
        location = QStandardPaths::DocumentsLocation;
        break;
    case SpecialFolder::Music:
        location = QStandardPaths::MusicLocation;
        break;
    case SpecialFolder::Pictures:
        location = QStandardPaths::PicturesLocation;
        break;
    default:
        return QString();
    }
    // Qt names a default folder even when the desktop has none: a favourite must not
    // point at a folder that is not there.
    QString path = QStandardPaths::writableLocation(location);
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return QString();
    if (!path.endsWith(u'/'))
        path += u'/';
    return path;
}

QString GetExePath()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}
