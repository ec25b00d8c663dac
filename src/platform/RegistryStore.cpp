#include "platform/RegistryStore.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <memory>

namespace {

constexpr int kSchemaVersion = 1;

QString fold(const QString &name)
{
    return name.toCaseFolded();
}

std::unique_ptr<RegistryStore> &globalStore()
{
    static std::unique_ptr<RegistryStore> store;
    return store;
}

QString &globalFile()
{
    static QString file;
    return file;
}

// Moves a damaged store and its journal files aside so nothing is destroyed.
QString moveAside(const QString &file)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = file + QStringLiteral(".damaged-") + stamp;
    // Never overwrite an earlier damaged copy.
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = file + QStringLiteral(".damaged-%1-%2").arg(stamp).arg(n);
    QFile::rename(file, aside);
    for (const char *suffix : {"-wal", "-shm"}) {
        const QString extra = file + QLatin1String(suffix);
        if (QFileInfo::exists(extra))
            QFile::rename(extra, aside + QLatin1String(suffix));
    }
    return aside;
}

} // namespace

RegistryStore::RegistryStore(const QString &file)
    : m_file(file)
{
    openFile();
}

RegistryStore::~RegistryStore() = default;

RegistryStore &RegistryStore::global()
{
    auto &store = globalStore();
    if (!store) {
        if (globalFile().isEmpty())
            qWarning("The settings store was used before its file was set: nothing is kept");
        store = std::make_unique<RegistryStore>(globalFile());
    }
    return *store;
}

void RegistryStore::setGlobalFile(const QString &file)
{
    globalStore().reset();
    globalFile() = file;
}

void RegistryStore::resetGlobal()
{
    globalStore().reset();
}

bool RegistryStore::openFile()
{
    SqliteDb::OpenResult result = m_db.open(m_file);
    if (result == SqliteDb::OpenResult::Damaged) {
        const QString reason = m_db.lastError();
        const QString aside = moveAside(m_file);
        m_openProblem = QStringLiteral("The settings file %1 could not be read (%2). It was kept "
                                       "as %3 and the program starts with fresh settings.")
                                .arg(m_file, reason, aside);
        result = m_db.open(m_file);
    }
    if (result != SqliteDb::OpenResult::Ok) {
        if (m_openProblem.isEmpty())
            m_openProblem = QStringLiteral("The settings file %1 could not be opened: %2")
                                    .arg(m_file, m_db.lastError());
        return false;
    }
    return createSchema();
}

bool RegistryStore::createSchema()
{
    // WAL lets a second process read while one writes; FULL sync keeps committed
    // settings through a power cut.
    m_db.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    m_db.exec(QStringLiteral("PRAGMA synchronous=FULL"));
    m_db.exec(QStringLiteral("PRAGMA foreign_keys=ON"));
    return m_db.transaction([this] {
        return m_db.exec(QStringLiteral(
                       "CREATE TABLE IF NOT EXISTS meta(name TEXT PRIMARY KEY, value TEXT);"
                       "CREATE TABLE IF NOT EXISTS reg_key("
                       " id INTEGER PRIMARY KEY,"
                       " parent INTEGER REFERENCES reg_key(id) ON DELETE CASCADE,"
                       " name TEXT NOT NULL,"
                       " fold TEXT NOT NULL);"
                       "CREATE UNIQUE INDEX IF NOT EXISTS reg_key_path"
                       " ON reg_key(ifnull(parent, 0), fold);"
                       // Listing children and cascading deletes look keys up by parent.
                       "CREATE INDEX IF NOT EXISTS reg_key_parent ON reg_key(parent);"
                       "CREATE TABLE IF NOT EXISTS reg_value("
                       " id INTEGER PRIMARY KEY,"
                       " key INTEGER NOT NULL REFERENCES reg_key(id) ON DELETE CASCADE,"
                       " name TEXT NOT NULL,"
                       " fold TEXT NOT NULL,"
                       " type INTEGER NOT NULL,"
                       " data);"
                       "CREATE UNIQUE INDEX IF NOT EXISTS reg_value_name"
                       " ON reg_value(key, fold);")) &&
               m_db.exec(QStringLiteral("INSERT OR IGNORE INTO meta VALUES('schema', '%1')")
                                 .arg(kSchemaVersion));
    });
}

QStringList RegistryStore::splitPath(const QString &path)
{
    return path.split(u'\\', Qt::SkipEmptyParts);
}

std::optional<qint64> RegistryStore::findKey(const QString &path)
{
    const QStringList parts = splitPath(path);
    if (parts.isEmpty() || !isOpen())
        return std::nullopt;
    SqliteDb::Statement find(m_db,
                             "SELECT id FROM reg_key WHERE ifnull(parent, 0) = ? AND fold = ?");
    qint64 id = 0;
    for (const QString &part : parts) {
        find.bind(1, id).bind(2, fold(part));
        if (!find.next())
            return std::nullopt;
        id = find.integer(0);
    }
    return id;
}

std::optional<qint64> RegistryStore::ensureKey(const QString &path)
{
    const QStringList parts = splitPath(path);
    if (parts.isEmpty() || !isOpen())
        return std::nullopt;
    SqliteDb::Statement find(m_db,
                             "SELECT id FROM reg_key WHERE ifnull(parent, 0) = ? AND fold = ?");
    SqliteDb::Statement insert(m_db, "INSERT INTO reg_key(parent, name, fold) VALUES(?, ?, ?)");
    qint64 id = 0;
    for (const QString &part : parts) {
        find.bind(1, id).bind(2, fold(part));
        if (find.next()) {
            id = find.integer(0);
            continue;
        }
        if (!find.ok())
            return std::nullopt;
        if (id == 0)
            insert.bindNull(1);
        else
            insert.bind(1, id);
        insert.bind(2, part).bind(3, fold(part));
        if (!insert.run())
            return std::nullopt;
        id = m_db.lastInsertId();
    }
    return id;
}

bool RegistryStore::createKey(const QString &path)
{
    return m_db.transaction([&] { return ensureKey(path).has_value(); });
}

bool RegistryStore::keyExists(const QString &path)
{
    bool found = false;
    m_db.readTransaction([&] {
        found = findKey(path).has_value();
        return true;
    });
    return found;
}

bool RegistryStore::deleteKeyId(qint64 id)
{
    // Values and subkeys go with it through the cascading foreign keys.
    SqliteDb::Statement remove(m_db, "DELETE FROM reg_key WHERE id = ?");
    return remove.bind(1, id).run();
}

bool RegistryStore::deleteKey(const QString &path)
{
    return m_db.transaction([&] {
        const auto id = findKey(path);
        return !id || deleteKeyId(*id);
    });
}

QStringList RegistryStore::subKeys(const QString &path)
{
    QStringList names;
    m_db.readTransaction([&] {
        const auto id = findKey(path);
        if (!id)
            return false;
        SqliteDb::Statement list(m_db, "SELECT name FROM reg_key WHERE parent = ? ORDER BY id");
        list.bind(1, *id);
        while (list.next())
            names << list.text(0);
        return true;
    });
    return names;
}

QList<RegValue> RegistryStore::valuesOf(qint64 key)
{
    QList<RegValue> result;
    SqliteDb::Statement list(m_db,
                             "SELECT name, type, data FROM reg_value WHERE key = ? ORDER BY id");
    list.bind(1, key);
    while (list.next()) {
        if (list.integer(1) == int(RegValue::Type::Dword))
            result << RegValue::number(list.text(0), quint32(list.integer(2)));
        else
            result << RegValue::string(list.text(0), list.text(2));
    }
    return result;
}

QList<RegValue> RegistryStore::values(const QString &path)
{
    QList<RegValue> result;
    m_db.readTransaction([&] {
        const auto id = findKey(path);
        if (id)
            result = valuesOf(*id);
        return true;
    });
    return result;
}

std::optional<RegValue> RegistryStore::value(const QString &path, const QString &name)
{
    std::optional<RegValue> result;
    m_db.readTransaction([&] {
        result = valueIn(path, name);
        return true;
    });
    return result;
}

std::optional<RegValue> RegistryStore::valueIn(const QString &path, const QString &name)
{
    const auto id = findKey(path);
    if (!id)
        return std::nullopt;
    SqliteDb::Statement get(m_db,
                            "SELECT name, type, data FROM reg_value WHERE key = ? AND fold = ?");
    get.bind(1, *id).bind(2, fold(name));
    if (!get.next())
        return std::nullopt;
    if (get.integer(1) == int(RegValue::Type::Dword))
        return RegValue::number(get.text(0), quint32(get.integer(2)));
    return RegValue::string(get.text(0), get.text(2));
}

// An upsert keeps the row, and so the value's place in the order, when it is overwritten.
const char *const RegistryStore::UpsertValueSql =
        "INSERT INTO reg_value(key, name, fold, type, data) VALUES(?, ?, ?, ?, ?)"
        " ON CONFLICT(key, fold) DO UPDATE SET type = excluded.type, data = excluded.data";

bool RegistryStore::writeValue(SqliteDb::Statement &upsert, qint64 key, const RegValue &value)
{
    upsert.bind(1, key).bind(2, value.name).bind(3, fold(value.name)).bind(4, qint64(value.type));
    if (value.type == RegValue::Type::Dword)
        upsert.bind(5, qint64(value.dword));
    else
        upsert.bind(5, value.text);
    return upsert.run();
}

bool RegistryStore::writeValues(qint64 key, const QList<RegValue> &values)
{
    SqliteDb::Statement upsert(m_db, UpsertValueSql);
    for (const RegValue &value : values) {
        if (!writeValue(upsert, key, value))
            return false;
    }
    return true;
}

bool RegistryStore::setValue(const QString &path, const RegValue &value)
{
    return m_db.transaction([&] {
        const auto id = findKey(path);
        return id && writeValues(*id, {value});
    });
}

bool RegistryStore::deleteValue(const QString &path, const QString &name)
{
    return m_db.transaction([&] {
        const auto id = findKey(path);
        if (!id)
            return false;
        SqliteDb::Statement remove(m_db, "DELETE FROM reg_value WHERE key = ? AND fold = ?");
        return remove.bind(1, *id).bind(2, fold(name)).run();
    });
}

bool RegistryStore::replaceValues(const QString &path, const QList<RegValue> &values)
{
    return m_db.transaction([&] {
        const auto id = ensureKey(path);
        if (!id)
            return false;
        // Values that are already stored as they should be are left alone: adding one
        // reminder to 10,000 then writes one row, not all of them. Only when the names
        // stand in the same order is that the same as writing everything anew.
        const QList<RegValue> stored = valuesOf(*id);
        const qsizetype common = std::min(stored.size(), values.size());
        bool sameOrder = true;
        for (qsizetype i = 0; i < common && sameOrder; ++i)
            sameOrder = fold(stored[i].name) == fold(values[i].name);
        if (!sameOrder) {
            SqliteDb::Statement clear(m_db, "DELETE FROM reg_value WHERE key = ?");
            return clear.bind(1, *id).run() && writeValues(*id, values);
        }
        SqliteDb::Statement upsert(m_db, UpsertValueSql);
        for (qsizetype i = 0; i < values.size(); ++i) {
            // The stored name keeps its spelling only when the new one is spelled alike.
            if (i < common && stored[i] == values[i])
                continue;
            if (i < common && stored[i].name != values[i].name && !deleteValueIn(*id, stored[i]))
                return false;
            if (!writeValue(upsert, *id, values[i]))
                return false;
        }
        for (qsizetype i = common; i < stored.size(); ++i) {
            if (!deleteValueIn(*id, stored[i]))
                return false;
        }
        return true;
    });
}

bool RegistryStore::deleteValueIn(qint64 key, const RegValue &value)
{
    SqliteDb::Statement remove(m_db, "DELETE FROM reg_value WHERE key = ? AND fold = ?");
    return remove.bind(1, key).bind(2, fold(value.name)).run();
}

void RegistryStore::readTree(qint64 key, RegKeyTree &into)
{
    into.values = valuesOf(key);
    QList<std::pair<qint64, QString>> children;
    {
        SqliteDb::Statement list(m_db, "SELECT id, name FROM reg_key WHERE parent = ? ORDER BY id");
        list.bind(1, key);
        while (list.next())
            children.append({list.integer(0), list.text(1)});
    }
    for (const auto &[id, name] : children) {
        RegKeyTree child;
        child.name = name;
        readTree(id, child);
        into.subkeys << child;
    }
}

std::optional<RegKeyTree> RegistryStore::tree(const QString &path)
{
    std::optional<RegKeyTree> result;
    m_db.readTransaction([&] {
        const auto id = findKey(path);
        if (!id)
            return false;
        result.emplace();
        result->name = splitPath(path).last();
        readTree(*id, *result);
        return true;
    });
    return result;
}

bool RegistryStore::writeTree(qint64 key, const RegKeyTree &tree)
{
    if (!writeValues(key, tree.values))
        return false;
    SqliteDb::Statement insert(m_db, "INSERT INTO reg_key(parent, name, fold) VALUES(?, ?, ?)");
    SqliteDb::Statement find(m_db, "SELECT id FROM reg_key WHERE parent = ? AND fold = ?");
    for (const RegKeyTree &child : tree.subkeys) {
        // Two children whose names differ only in case are one key, as in the registry.
        find.bind(1, key).bind(2, fold(child.name));
        qint64 childId = 0;
        if (find.next()) {
            childId = find.integer(0);
        } else {
            if (!find.ok() ||
                !insert.bind(1, key).bind(2, child.name).bind(3, fold(child.name)).run())
                return false;
            childId = m_db.lastInsertId();
        }
        if (!writeTree(childId, child))
            return false;
    }
    return true;
}

bool RegistryStore::replaceTree(const QString &path, const RegKeyTree &tree)
{
    return m_db.transaction([&] {
        if (const auto old = findKey(path); old && !deleteKeyId(*old))
            return false;
        const auto id = ensureKey(path);
        return id && writeTree(*id, tree);
    });
}
