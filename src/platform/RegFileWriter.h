#pragma once

#include "platform/RegValue.h"

#include <QByteArray>
#include <QString>
#include <optional>

// Writes a key tree in the registry export text format ("Windows Registry Editor Version
// 5.00"): UTF-16LE with a byte-order mark, CRLF line ends, a blank line after each key, key
// lines with the full path, parents before children, values in the tree's order.
// Texts holding line breaks or other control characters are written as hex(1) (the
// registry's own hex form of a text value: UTF-16LE code units and a terminating zero),
// which the system's registry tool reads as well; every other text is written quoted with
// "\" and '"' escaped.
class RegFileWriter final
{
public:
    RegFileWriter() = delete;

    static const QString Header; // "Windows Registry Editor Version 5.00"

    // The file's text with CRLF line ends; nothing when a key or value name cannot be written
    // (names with control characters), with the reason in `error`.
    static std::optional<QString> text(const QString &keyPath, const RegKeyTree &tree,
                                       QString *error = nullptr);
    // The file's bytes: byte-order mark and UTF-16LE.
    static std::optional<QByteArray> bytes(const QString &keyPath, const RegKeyTree &tree,
                                           QString *error = nullptr);
};
