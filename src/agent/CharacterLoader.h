#pragma once

#include "agent/CharacterLoadResult.h"

#include <QString>

// Loads character files of every known format, sniffed by content.
namespace CharacterLoader {

// Files bigger than this are refused before they are read.
inline constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;
// Bytes shown to the formats to recognise a file.
inline constexpr qint64 HeadBytes = 64;

// Decodes a character file. While any holder keeps a decoded character alive, loading the
// same unchanged file again hands out that same instance instead of decoding it twice.
CharacterLoadResult load(const QString &path);
// Decodes bytes already in memory (the same rules as load()).
CharacterLoadResult loadBytes(const QByteArray &bytes);

} // namespace CharacterLoader
