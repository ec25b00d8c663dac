#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// Text files of the program folder (language, phrase and location files) come from many
// editors: UTF-8 (with or without a byte-order mark), UTF-16 with a byte-order mark, or the
// single-byte Windows code page of older installations.
namespace TextDecoding {

// Decodes windows-1252; bytes the code page leaves undefined map to the same code point.
QString fromWindows1252(const QByteArray &bytes);

// UTF-16 when a byte-order mark says so, UTF-8 when the bytes are valid UTF-8 (a leading
// byte-order mark is dropped; a sequence cut off at the very end, as by a size limit, is
// dropped too), windows-1252 otherwise.
QString decode(const QByteArray &bytes);

// The decoded file; std::nullopt when it does not exist or cannot be read.
std::optional<QString> readFile(const QString &path);

// Splits at CRLF, LF or a lone CR; a final line ending does not start another line.
QStringList splitLines(const QString &text);

} // namespace TextDecoding
