// The SVG parts of character files: any text as the one part of a small character, read
// through CharacterFileFormat (which refuses outside references) and drawn by
// CharacterRenderer, as a layer and as a mouth shape.
#include "CharacterChecks.h"
#include "FuzzSupport.h"
#include "agent/CharacterFileFormat.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString svg = QString::fromUtf8(Fuzz::bytes(data, size));
    const QJsonObject frame{{QStringLiteral("ms"), 100},
                            {QStringLiteral("layers"), QJsonArray{0, 0, 0, 1}},
                            {QStringLiteral("mouth"), 1},
                            {QStringLiteral("opacity"), QJsonArray{QJsonArray{0, 0.5}}}};
    const QJsonObject root{
            {QStringLiteral("name"), QStringLiteral("Fuzz")},
            {QStringLiteral("guid"), QStringLiteral("{00000000-0000-0000-0000-000000000000}")},
            {QStringLiteral("width"), 64},
            {QStringLiteral("height"), 64},
            {QStringLiteral("parts"),
             QJsonArray{QJsonObject{{QStringLiteral("id"), QStringLiteral("p")},
                                    {QStringLiteral("svg"), svg}}}},
            {QStringLiteral("mouths"),
             QJsonObject{{QStringLiteral("closed"), QStringLiteral("p")}}},
            {QStringLiteral("matrices"),
             QJsonArray{QJsonArray{1, 0, 0, 1, 0, 0}, QJsonArray{0.5, 0.2, -0.2, 2, 8, -4}}},
            {QStringLiteral("animations"),
             QJsonArray{QJsonObject{{QStringLiteral("name"), QStringLiteral("a")},
                                    {QStringLiteral("frames"), QJsonArray{frame}}}}}};
    const QByteArray file =
            CharacterFileFormat::wrap(QJsonDocument(root).toJson(QJsonDocument::Compact));
    const CharacterLoadResult result = CharacterFileFormat().read(file);
    FUZZ_CHECK(bool(result) == result.error.isEmpty(), result.error);
    if (result)
        Fuzz::checkCharacter(*result.character, file);
    return 0;
}
