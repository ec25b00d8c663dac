#include "platform/MimeDefaults.h"

#include "platform/DesktopEntry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStandardPaths>

namespace {

// The entries of `group` for `key` in a mimeapps.list-style file, in their order.
QStringList listEntries(const QString &file, const QString &group, const QString &key)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    bool inGroup = false;
    for (QString line : QString::fromUtf8(in.readAll()).split(u'\n')) {
        line = line.trimmed();
        if (line.startsWith(u'[')) {
            inGroup = line.mid(1, line.size() - 2) == group;
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (inGroup && eq > 0 && line.left(eq).trimmed() == key)
            return line.mid(eq + 1).split(u';', Qt::SkipEmptyParts);
    }
    return {};
}

} // namespace

MimeDefaults::MimeDefaults(const QStringList &configFolders, const QStringList &dataFolders)
    : m_config(configFolders)
    , m_data(dataFolders)
{}

MimeDefaults MimeDefaults::fromEnvironment()
{
    return MimeDefaults(QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation),
                        QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation));
}

QString MimeDefaults::mimeTypeForExtension(const QString &extension)
{
    if (extension.isEmpty())
        return {};
    const QMimeType type = QMimeDatabase().mimeTypeForFile(QStringLiteral("x.") + extension,
                                                           QMimeDatabase::MatchExtension);
    return type.isDefault() ? QString() : type.name();
}

QStringList MimeDefaults::listFiles() const
{
    QStringList files;
    for (const QString &folder : m_config)
        files << QDir(folder).filePath(QStringLiteral("mimeapps.list"));
    for (const QString &folder : m_data)
        files << QDir(folder).filePath(QStringLiteral("applications/mimeapps.list"));
    return files;
}

QString MimeDefaults::findEntry(const QString &id) const
{
    if (id.isEmpty() || id.contains(u'/'))
        return {};
    for (const QString &folder : m_data) {
        const QString applications = QDir(folder).filePath(QStringLiteral("applications"));
        QString path = QDir(applications).filePath(id);
        if (QFileInfo::exists(path))
            return path;
        // "kde-org.example.desktop" may live in applications/kde/.
        QString nested = id;
        for (qsizetype dash = nested.indexOf(u'-'); dash > 0; dash = nested.indexOf(u'-')) {
            nested[dash] = u'/';
            path = QDir(applications).filePath(nested);
            if (QFileInfo::exists(path))
                return path;
        }
    }
    return {};
}

QString MimeDefaults::defaultEntryFor(const QString &mimeType) const
{
    const QString defaults = QStringLiteral("Default Applications");
    for (const QString &file : listFiles()) {
        for (const QString &id : listEntries(file, defaults, mimeType)) {
            const QString path = findEntry(id.trimmed());
            if (!path.isEmpty() && DesktopEntry::read(path))
                return path;
        }
    }
    // No stated default: the system's fallbacks, then any application taking the type.
    for (const QString &folder : m_data) {
        const QDir applications(QDir(folder).filePath(QStringLiteral("applications")));
        const QList<QPair<QString, QString>> fallbacks = {
                {applications.filePath(QStringLiteral("defaults.list")), defaults},
                {applications.filePath(QStringLiteral("mimeinfo.cache")),
                 QStringLiteral("MIME Cache")}};
        for (const auto &[file, group] : fallbacks) {
            for (const QString &id : listEntries(file, group, mimeType)) {
                const QString path = findEntry(id.trimmed());
                if (!path.isEmpty() && DesktopEntry::read(path))
                    return path;
            }
        }
    }
    return {};
}

QString MimeDefaults::defaultEntry(const QString &mimeType) const
{
    if (mimeType.isEmpty())
        return {};
    QStringList types{mimeType};
    const QMimeType type = QMimeDatabase().mimeTypeForName(mimeType);
    if (type.isValid())
        types << type.allAncestors();
    for (const QString &name : types) {
        const QString path = defaultEntryFor(name);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

QString MimeDefaults::FindAssociatedProgram(const QString &extension) const
{
    return defaultEntry(mimeTypeForExtension(extension));
}
