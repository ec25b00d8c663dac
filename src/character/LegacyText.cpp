#include "character/LegacyText.h"

#include <QFile>
#include <QStringDecoder>

namespace {

// Number of bytes at the end that start a UTF-8 sequence the data does not complete
// (a text cut at a byte limit).
qsizetype incompleteTail(const QByteArray &bytes)
{
    const qsizetype size = bytes.size();
    for (qsizetype back = 1; back <= 3 && back <= size; ++back) {
        const auto byte = static_cast<unsigned char>(bytes.at(size - back));
        if ((byte & 0xC0) == 0x80)
            continue; // continuation byte: look further back for the lead byte
        const qsizetype needed = (byte & 0xE0) == 0xC0   ? 2
                                 : (byte & 0xF0) == 0xE0 ? 3
                                 : (byte & 0xF8) == 0xF0 ? 4
                                                         : 1;
        return needed > back ? back : 0;
    }
    return 0;
}

std::optional<QString> strictUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace

namespace LegacyText {

QString decode(const QByteArray &bytes)
{
    if (auto text = strictUtf8(bytes))
        return *text;
    const qsizetype tail = incompleteTail(bytes);
    if (tail > 0) {
        if (auto text = strictUtf8(QByteArrayView(bytes).first(bytes.size() - tail)))
            return *text;
    }
    QStringDecoder ansi("windows-1252");
    if (ansi.isValid())
        return ansi.decode(bytes);
    return QString::fromLatin1(bytes);
}

std::optional<QString> readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return decode(file.readAll());
}

QStringList splitLines(const QString &text)
{
    QString unified = text;
    unified.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return unified.split(u'\n');
}

} // namespace LegacyText
