#include "character/PhraseLine.h"

#include "base/TextDecoding.h"

namespace PhraseLine {

QString next(const std::optional<QString> &fileText, int &counter)
{
    counter = counter >= MaxCounter ? 0 : counter + 1;
    if (!fileText)
        return {};
    const QStringList lines = TextDecoding::splitLines(*fileText);
    if (lines.isEmpty()) {
        counter = 0;
        return {};
    }
    if (counter >= lines.size() || lines.at(counter).isEmpty())
        counter = 0;
    return lines.at(counter);
}

QStringList pieces(const QString &line)
{
    if (line.isEmpty())
        return {};
    return line.split(u',');
}

} // namespace PhraseLine
