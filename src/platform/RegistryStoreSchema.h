#pragma once

#include <QString>

class SqliteDb;

// The tables of a settings store file, and the full check a file passes before it is used:
// beyond SQLite's own check of its pages, the schema and the key tree's rules (every value's
// key and every key's parent exist, parents lead to a root without cycles, names are stored
// with their case-folded form, data fits its type). A file that fails would otherwise open
// as a store with keys or values silently missing, or fail on its first write.
class RegistryStoreSchema final
{
public:
    RegistryStoreSchema() = delete;

    // Creates the tables of a new store, or the indexes an older file lacks. An index holds
    // nothing of its own, so one that is missing is simply made again.
    static bool apply(SqliteDb &db);

    // What is wrong with the store in `db`, for the user; empty when it is sound. Only reads:
    // a missing index is no damage (apply() makes it), but a lost table or version is, and
    // is never quietly made again.
    static QString problem(SqliteDb &db);
};
