#pragma once

#include "platform/RegValue.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Reads the registry export text format: the UTF-16LE form with a byte-order mark
// ("Windows Registry Editor Version 5.00"), a UTF-8 file with its byte-order mark, and the
// older single-byte form ("REGEDIT4", the Windows ANSI code page windows-1252).
// Understood: key lines, ";" comments, quoted texts with \\ and \" escapes, @ for the default
// value, dword:, and text in hex(1) / hex(2) form (with "\" line continuations).
// Refused with a message naming the line: key and value deletions ([-key], "name"=-), other
// value types, anything malformed. The whole file is parsed before anyone acts on it.
class RegFileReader final
{
public:
    RegFileReader() = delete;

    struct Key
    {
        QString path; // with the root written out ("HKEY_CURRENT_USER\...")
        QList<RegValue> values;
        int line = 0;
    };

    // Parses a whole file; false with the reason (and line number) in `error`.
    static bool parse(const QByteArray &bytes, QList<Key> &keys, QString *error = nullptr);

    // The keys of a parsed file as one tree rooted at `target` (named after its last part);
    // false when a key lies outside `target`. Keys named twice are merged, a value set twice
    // keeps its first place and its last data, keys skipped in the file are created.
    static bool buildTree(const QList<Key> &keys, const QString &target, RegKeyTree &tree,
                          QString *error = nullptr);

    // `path` with its root written out ("HKCU\x" -> "HKEY_CURRENT_USER\x"); empty when the
    // root is unknown or a key name is empty.
    static QString rootedPath(const QString &path);

    // The single-byte Windows code page of registry files (windows-1252).
    static QString fromWindows1252(const QByteArray &bytes);
};
