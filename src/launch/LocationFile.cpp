#include "launch/LocationFile.h"

#include "base/AppPaths.h"
#include "base/TextDecoding.h"

namespace LocationFile {

QString path(const QString &name)
{
    return AppPaths::join(AppPaths::programFolder(), name);
}

QString value(const QString &filePath, const QString &key)
{
    const auto text = TextDecoding::readFile(filePath);
    if (!text)
        return {};
    for (const QString &line : TextDecoding::splitLines(*text)) {
        if (line.startsWith(key, Qt::CaseInsensitive))
            return line.mid(key.size() + 1);
    }
    return {};
}

} // namespace LocationFile
