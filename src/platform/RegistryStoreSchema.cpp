#include "platform/RegistryStoreSchema.h"

#include "platform/SqliteDb.h"

#include <QList>
#include <QStringList>
#include <algorithm>

namespace {

const QString kVersion = QStringLiteral("1");

const char *const kTables = "CREATE TABLE IF NOT EXISTS meta(name TEXT PRIMARY KEY, value TEXT);"
                            "CREATE TABLE IF NOT EXISTS reg_key("
                            " id INTEGER PRIMARY KEY,"
                            " parent INTEGER REFERENCES reg_key(id) ON DELETE CASCADE,"
                            " name TEXT NOT NULL,"
                            " fold TEXT NOT NULL);"
                            "CREATE TABLE IF NOT EXISTS reg_value("
                            " id INTEGER PRIMARY KEY,"
                            " key INTEGER NOT NULL REFERENCES reg_key(id) ON DELETE CASCADE,"
                            " name TEXT NOT NULL,"
                            " fold TEXT NOT NULL,"
                            " type INTEGER NOT NULL,"
                            " data);";

const char *const kIndexes = "CREATE UNIQUE INDEX IF NOT EXISTS reg_key_path"
                             " ON reg_key(ifnull(parent, 0), fold);"
                             // Listing children and cascading deletes look keys up by parent.
                             "CREATE INDEX IF NOT EXISTS reg_key_parent ON reg_key(parent);"
                             "CREATE UNIQUE INDEX IF NOT EXISTS reg_value_name"
                             " ON reg_value(key, fold);";

// (type, name, sql) of every table and index, as SQLite keeps them.
QStringList schemaOf(SqliteDb &db, const char *type)
{
    QStringList rows;
    SqliteDb::Statement list(db, "SELECT type, name, sql FROM sqlite_master"
                                 " WHERE type = ? AND name NOT LIKE 'sqlite_%' ORDER BY name");
    list.bind(1, QString::fromLatin1(type));
    while (list.next())
        rows << list.text(0) + u' ' + list.text(1) + u' ' + list.text(2);
    return rows;
}

// The schema a new store has, made in memory from the same statements.
QStringList expectedSchema(const char *type)
{
    SqliteDb memory;
    if (memory.open(QStringLiteral(":memory:")) != SqliteDb::OpenResult::Ok ||
        !memory.exec(QString::fromLatin1(kTables)) || !memory.exec(QString::fromLatin1(kIndexes)))
        return {};
    return schemaOf(memory, type);
}

// Every index there is as a new store has it; one that is missing is made again at open.
bool indexesFit(SqliteDb &db)
{
    const QStringList expected = expectedSchema("index");
    const QStringList present = schemaOf(db, "index");
    return std::all_of(present.begin(), present.end(),
                       [&](const QString &index) { return expected.contains(index); });
}

qint64 count(SqliteDb &db, const char *sql)
{
    SqliteDb::Statement query(db, sql);
    return query.next() ? query.integer(0) : -1;
}

QString foldProblem(SqliteDb &db)
{
    SqliteDb::Statement names(db, "SELECT name, fold FROM reg_key"
                                  " UNION ALL SELECT name, fold FROM reg_value");
    while (names.next()) {
        if (names.text(0).toCaseFolded() != names.text(1))
            return QStringLiteral("the name \"%1\" is stored with a wrong search form")
                    .arg(names.text(0));
    }
    return names.ok() ? QString() : db.lastError();
}

} // namespace

bool RegistryStoreSchema::apply(SqliteDb &db)
{
    return db.transaction([&db] {
        return db.exec(QString::fromLatin1(kTables)) && db.exec(QString::fromLatin1(kIndexes)) &&
               db.exec(QStringLiteral("INSERT OR IGNORE INTO meta VALUES('schema', '%1')")
                               .arg(kVersion));
    });
}

QString RegistryStoreSchema::problem(SqliteDb &db)
{
    QString why;
    db.readTransaction([&] {
        if (schemaOf(db, "table") != expectedSchema("table"))
            why = QStringLiteral("its tables are missing or not those of a settings store");
        // Unlike quick_check, this also finds indexes that do not match their table: a
        // lookup through one misses keys the table holds.
        else if (SqliteDb::Statement pages(db, "PRAGMA integrity_check(1)");
                 !pages.next() || pages.text(0) != QLatin1String("ok"))
            why = pages.ok() ? pages.text(0) : db.lastError();
        else if (!indexesFit(db))
            why = QStringLiteral("its indexes are not those of a settings store");
        else if (count(db, "SELECT (SELECT count(*) FROM (SELECT 1 FROM reg_key"
                           " GROUP BY ifnull(parent, 0), fold HAVING count(*) > 1))"
                           " + (SELECT count(*) FROM (SELECT 1 FROM reg_value"
                           " GROUP BY key, fold HAVING count(*) > 1))") != 0)
            why = QStringLiteral("names are stored twice");
        else if (SqliteDb::Statement version(db, "SELECT value FROM meta WHERE name = 'schema'");
                 !version.next() || version.text(0) != kVersion)
            why = QStringLiteral("it has no known version");
        else if (count(db, "SELECT count(*) FROM pragma_foreign_key_check") != 0)
            why = QStringLiteral("values or keys belong to keys that are missing");
        else if (count(db,
                       "WITH RECURSIVE reached(id) AS ("
                       " SELECT id FROM reg_key WHERE parent IS NULL"
                       " UNION SELECT k.id FROM reg_key k JOIN reached r ON k.parent = r.id)"
                       " SELECT (SELECT count(*) FROM reg_key) - (SELECT count(*) FROM reached)") !=
                 0)
            why = QStringLiteral("keys are their own parents, in a circle");
        else if (count(db, "SELECT count(*) FROM reg_value WHERE NOT ("
                           " (type = 1 AND typeof(data) = 'text') OR"
                           " (type = 4 AND typeof(data) = 'integer' AND data BETWEEN 0 AND "
                           "4294967295))") != 0)
            why = QStringLiteral("values hold data of an unknown kind");
        else if (count(db, "SELECT count(*) FROM (SELECT name, fold FROM reg_key"
                           " UNION ALL SELECT name, fold FROM reg_value)"
                           " WHERE typeof(name) <> 'text' OR typeof(fold) <> 'text'") != 0)
            why = QStringLiteral("names are not texts");
        else
            why = foldProblem(db);
        return true;
    });
    return why;
}
