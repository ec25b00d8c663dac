#include "platform/RegFile.h"

#include "platform/RegFileReader.h"
#include "platform/RegFileWriter.h"
#include "platform/RegistryStore.h"

#include <QFile>
#include <QSaveFile>

namespace {

bool failWith(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

} // namespace

bool RegFile::exportKey(RegistryStore &store, const QString &keyPath, const QString &file,
                        QString *error)
{
    const auto tree = store.tree(keyPath);
    if (!tree)
        return failWith(error, QStringLiteral("There is no key %1 to export.").arg(keyPath));
    const auto bytes = RegFileWriter::bytes(keyPath, *tree, error);
    if (!bytes)
        return false;
    QSaveFile out(file);
    // A backup holds everything the store does: the user's alone, as the store is.
    if (!out.open(QIODevice::WriteOnly) ||
        !out.setPermissions(QFile::ReadOwner | QFile::WriteOwner) ||
        out.write(*bytes) != bytes->size() || !out.commit())
        return failWith(error,
                        QStringLiteral("Could not write %1: %2").arg(file, out.errorString()));
    return true;
}

bool RegFile::importFile(RegistryStore &store, const QString &file, const QString &target,
                         QString *error)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return failWith(error, QStringLiteral("Could not read %1: %2").arg(file, in.errorString()));
    if (in.size() > MaxImportBytes)
        return failWith(error, QStringLiteral("%1 is too large for a settings file.").arg(file));
    const QByteArray bytes = in.readAll();
    QString why;
    if (!importBytes(store, bytes, target, &why))
        return failWith(error, QStringLiteral("%1\n\n%2").arg(file, why));
    return true;
}

bool RegFile::importBytes(RegistryStore &store, const QByteArray &bytes, const QString &target,
                          QString *error)
{
    QList<RegFileReader::Key> keys;
    RegKeyTree tree;
    if (!RegFileReader::parse(bytes, keys, error) ||
        !RegFileReader::buildTree(keys, target, tree, error))
        return false;
    const QString top = RegFileReader::rootedPath(target.isEmpty() ? keys.first().path : target);
    if (!store.replaceTree(top, tree))
        return failWith(
                error,
                QStringLiteral("The settings could not be written: %1").arg(store.lastError()));
    return true;
}
