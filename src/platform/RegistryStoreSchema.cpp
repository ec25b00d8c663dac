#include "platform/RegistryStoreSchema.h"

#include "platform/SqliteDb.h"

#include <QList>
#include <QStringList>
#include <algorithm>

namespace {

// The version is also named in the rules below.
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

// The key tree's rules, each a query counting what breaks it.
struct Rule
{
    const char *count;
    const char *problem;
};

constexpr Rule kRules[] = {
        {"SELECT (SELECT count(*) FROM (SELECT 1 FROM reg_key"
         " GROUP BY ifnull(parent, 0), fold HAVING count(*) > 1))"
         " + (SELECT count(*) FROM (SELECT 1 FROM reg_value"
         " GROUP BY key, fold HAVING count(*) > 1))",
         "names are stored twice"},
        {"SELECT count(*) = 0 FROM meta WHERE name = 'schema' AND value = '1'",
         "it has no known version"},
        {"SELECT count(*) FROM pragma_foreign_key_check",
         "values or keys belong to keys that are missing"},
        {"WITH RECURSIVE reached(id) AS ("
         " SELECT id FROM reg_key WHERE parent IS NULL"
         " UNION SELECT k.id FROM reg_key k JOIN reached r ON k.parent = r.id)"
         " SELECT (SELECT count(*) FROM reg_key) - (SELECT count(*) FROM reached)",
         "keys are their own parents, in a circle"},
        {"SELECT count(*) FROM reg_value WHERE NOT ("
         " (type = 1 AND typeof(data) = 'text') OR"
         " (type = 4 AND typeof(data) = 'integer' AND data BETWEEN 0 AND 4294967295))",
         "values hold data of an unknown kind"},
        {"SELECT count(*) FROM (SELECT name, fold FROM reg_key"
         " UNION ALL SELECT name, fold FROM reg_value)"
         " WHERE typeof(name) <> 'text' OR typeof(fold) <> 'text'",
         "names are not texts"},
};

QString problemIn(SqliteDb &db)
{
    if (schemaOf(db, "table") != expectedSchema("table"))
        return QStringLiteral("its tables are missing or not those of a settings store");
    // Unlike quick_check, this also finds indexes that do not match their table: a lookup
    // through one misses keys the table holds.
    if (SqliteDb::Statement pages(db, "PRAGMA integrity_check(1)");
        !pages.next() || pages.text(0) != QLatin1String("ok"))
        return pages.ok() ? pages.text(0) : db.lastError();
    if (!indexesFit(db))
        return QStringLiteral("its indexes are not those of a settings store");
    for (const Rule &rule : kRules) {
        SqliteDb::Statement broken(db, rule.count);
        if (!broken.next() || broken.integer(0) != 0)
            return QString::fromLatin1(rule.problem);
    }
    return foldProblem(db);
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
        why = problemIn(db);
        return true;
    });
    return why;
}
