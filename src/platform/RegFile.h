#pragma once

#include <QString>

class RegistryStore;

// Export and import of a key tree through a registry export file (see RegFileWriter and
// RegFileReader for the format). Failures come back as false with a message for the user.
class RegFile final
{
public:
    RegFile() = delete;

    // Largest file an import reads; a settings backup is a few hundred kilobytes.
    static constexpr qint64 MaxImportBytes = 64 * 1024 * 1024;

    // Writes the key at `keyPath` with everything below it to `file` (replaced whole, never
    // left half written, readable by the user alone).
    static bool exportKey(RegistryStore &store, const QString &keyPath, const QString &file,
                          QString *error = nullptr);

    // Reads and checks the whole of `file`, then replaces the key `target` with the file's
    // keys in one transaction. Every key of the file must lie at or below `target`; an empty
    // target means the file's first key. On any failure the store is untouched.
    static bool importFile(RegistryStore &store, const QString &file, const QString &target,
                           QString *error = nullptr);
    static bool importBytes(RegistryStore &store, const QByteArray &bytes, const QString &target,
                            QString *error = nullptr);
};
