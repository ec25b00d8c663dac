#include "agent/CharacterLoader.h"

#include "agent/CharacterFileFormat.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <array>

namespace {

// Every format the program reads. The classic binary format goes here when it is written.
const std::array<const CharacterFormat *, 1> &formats()
{
    static const CharacterFileFormat vector;
    static const std::array<const CharacterFormat *, 1> all{&vector};
    return all;
}

// Characters decoded from files, by canonical path, as long as someone holds them.
struct Decoded
{
    std::weak_ptr<const CharacterData> character;
    QDateTime modified;
    qint64 size = 0;
};

QMutex &cacheLock()
{
    static QMutex lock;
    return lock;
}

QHash<QString, Decoded> &cache()
{
    static QHash<QString, Decoded> decoded;
    return decoded;
}

} // namespace

namespace CharacterLoader {

CharacterLoadResult loadBytes(const QByteArray &bytes)
{
    if (bytes.size() > MaxFileBytes)
        return CharacterLoadResult::failure(
                QStringLiteral("the file is too big (%1 bytes, at most %2)")
                        .arg(bytes.size())
                        .arg(MaxFileBytes));
    const QByteArrayView head =
            QByteArrayView(bytes).first(std::min<qsizetype>(bytes.size(), HeadBytes));
    for (const CharacterFormat *format : formats()) {
        if (format->recognises(head))
            return format->read(bytes);
    }
    return CharacterLoadResult::failure(QStringLiteral("not a character file"));
}

CharacterLoadResult load(const QString &path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return CharacterLoadResult::failure(QStringLiteral("cannot open %1").arg(path));
    if (file.size() > MaxFileBytes)
        return CharacterLoadResult::failure(QStringLiteral("%1 is too big (%2 bytes, at most %3)")
                                                    .arg(path)
                                                    .arg(file.size())
                                                    .arg(MaxFileBytes));
    const QFileInfo info(path);
    const QString key = info.canonicalFilePath();
    {
        const QMutexLocker locker(&cacheLock());
        const auto it = cache().constFind(key);
        if (it != cache().cend() && it->modified == info.lastModified() &&
            it->size == info.size()) {
            if (auto shared = it->character.lock())
                return {shared, QString()};
        }
    }
    const QByteArray bytes = file.read(MaxFileBytes + 1);
    CharacterLoadResult result = loadBytes(bytes);
    if (!result) {
        result.error = QStringLiteral("%1: %2").arg(path, result.error);
        return result;
    }
    const QMutexLocker locker(&cacheLock());
    cache().insert(key, Decoded{result.character, info.lastModified(), info.size()});
    return result;
}

} // namespace CharacterLoader
