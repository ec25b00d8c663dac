// Location files (LocationFile::value). Properties: the value is the rest of the first line
// that starts with the key, after the separating character, and never spans lines.
#include "FuzzSupport.h"
#include "base/TextDecoding.h"
#include "launch/LocationFile.h"

#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = Fuzz::bytes(data, size);
    const QString path = Fuzz::writeProgramFile(LocationFile::DefaultName, bytes);
    FUZZ_CHECK(path == LocationFile::path(), path);
    const QStringList lines = TextDecoding::splitLines(TextDecoding::decode(bytes));

    // The keys the program asks for, and the first word of the file's own first line.
    QStringList keys{QStringLiteral("SEARCH,Google"), QStringLiteral("NEWS"),
                     QStringLiteral("LINK"), QStringLiteral("SITE")};
    if (!lines.isEmpty())
        keys << lines.first().section(u',', 0, 0);
    for (const QString &key : keys) {
        const QString value = LocationFile::value(path, key);
        FUZZ_CHECK(!value.contains(u'\n') && !value.contains(u'\r'), key + u'=' + value);
        QString expected;
        for (const QString &line : lines) {
            if (line.startsWith(key, Qt::CaseInsensitive)) {
                expected = line.mid(key.size() + 1);
                break;
            }
        }
        FUZZ_CHECK(value == expected,
                   key + QStringLiteral(": ") + value + QStringLiteral(" / ") + expected);
    }
    return 0;
}
