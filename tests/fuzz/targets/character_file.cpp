// Character files (CharacterLoader, CharacterFileFormat). The payload is compressed, so
// mutating the file's bytes would mostly test zlib: the mutator unpacks the JSON document,
// mutates that and packs it again, and now and then mutates the raw bytes (header, sizes).
// An input that is not a character file is taken as a JSON document and packed.
#include "CharacterChecks.h"
#include "FuzzSupport.h"
#include "agent/CharacterFileFormat.h"
#include "agent/CharacterLoader.h"

#include <algorithm>
#include <cstring>
#include <optional>

extern "C" size_t LLVMFuzzerMutate(uint8_t *data, size_t size, size_t maxSize);

namespace {

// The JSON document inside a file, when it unpacks.
std::optional<QByteArray> document(const QByteArray &file)
{
    if (!CharacterFileFormat().recognises(file) ||
        file.size() < CharacterFileFormat::HeaderBytes + 4)
        return std::nullopt;
    const QByteArray json = qUncompress(file.mid(CharacterFileFormat::HeaderBytes));
    if (json.isEmpty())
        return std::nullopt;
    return json;
}

} // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t *data, size_t size, size_t maxSize,
                                          unsigned int seed)
{
    const QByteArray file = Fuzz::bytes(data, size);
    const auto json = seed % 8 == 0 ? std::nullopt : document(file);
    if (!json)
        return LLVMFuzzerMutate(data, size, maxSize);
    QByteArray mutated = *json;
    const qsizetype room = std::max<qsizetype>(mutated.size() * 2, 4096);
    mutated.resize(room);
    mutated.resize(qsizetype(LLVMFuzzerMutate(reinterpret_cast<uint8_t *>(mutated.data()),
                                              size_t(json->size()), size_t(room))));
    const QByteArray packed = CharacterFileFormat::wrap(mutated);
    if (size_t(packed.size()) > maxSize)
        return LLVMFuzzerMutate(data, size, maxSize);
    std::memcpy(data, packed.constData(), size_t(packed.size()));
    return size_t(packed.size());
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray input = Fuzz::bytes(data, size);
    if (!CharacterFileFormat().recognises(input))
        input = CharacterFileFormat::wrap(input);
    const CharacterLoadResult result = CharacterLoader::loadBytes(input);
    FUZZ_CHECK(bool(result) == result.error.isEmpty(), result.error);
    if (!result)
        return 0;
    Fuzz::checkCharacter(*result.character, input);

    // What the program writes, it reads back the same.
    const QByteArray written = CharacterFileFormat::write(*result.character);
    const CharacterLoadResult again = CharacterLoader::loadBytes(written);
    FUZZ_CHECK(bool(again), again.error);
    FUZZ_CHECK(CharacterFileFormat::toJson(*again.character) ==
                       CharacterFileFormat::toJson(*result.character),
               result.character->name);
    return 0;
}
