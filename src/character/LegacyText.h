#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// Plain-text files the user may edit, some of them written on Windows by the original
// program: read as UTF-8 when the bytes are valid UTF-8, else as Windows-1252.
namespace LegacyText {

QString decode(const QByteArray &bytes);
// std::nullopt when the file does not exist or cannot be read.
std::optional<QString> readFile(const QString &path);
// Splits at CR LF; a bare LF (files edited on Linux) ends a line too.
QStringList splitLines(const QString &text);

} // namespace LegacyText
