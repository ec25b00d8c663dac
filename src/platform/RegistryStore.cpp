#include "platform/RegistryStore.h"

#include "base/AppPaths.h"
#include "base/Clock.h"
#include "platform/RegistryStoreCopies.h"
#include "platform/RegistryStoreSchema.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <algorithm>
#include <memory>

namespace {

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

// Set on every connection: WAL lets a second process read while one writes; FULL sync keeps
// committed settings through a power cut.
bool configure(SqliteDb &db)
{
    db.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    return db.exec(QStringLiteral("PRAGMA synchronous=FULL")) &&
           db.exec(QStringLiteral("PRAGMA foreign_keys=ON"));
}

} // namespace

RegistryStore::RegistryStore(const QString &file)
    : m_file(file)
    , m_copies(std::make_unique<RegistryStoreCopies>(file))
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

void RegistryStore::openFile()
{
    m_cleanOpen = false;
    for (const char *suffix : {"", "-wal", "-shm"})
        AppPaths::keepPrivate(m_file + QLatin1String(suffix));
    QString why;
    QString damage;
    const QFileInfo info(m_file);
    if (!info.exists() && !createFresh(why)) {
        m_openProblem =
                QStringLiteral("The settings file %1 could not be created: %2").arg(m_file, why);
        return;
    }
    // A new store is made whole under another name, so an empty file is a damaged one.
    if (info.exists() && info.isFile() && info.size() == 0)
        damage = QStringLiteral("the file is empty");
    SqliteDb::OpenResult result = SqliteDb::OpenResult::Damaged;
    if (damage.isEmpty()) {
        result = m_db.open(m_file);
        if (result == SqliteDb::OpenResult::Damaged)
            damage = m_db.lastError();
        else if (result == SqliteDb::OpenResult::Ok)
            damage = checkOpened();
    }
    if (!damage.isEmpty()) {
        m_db.close();
        const QString aside = moveAside(m_file);
        m_offer = m_copies->newestGood();
        m_openProblem = QStringLiteral("The settings file %1 could not be read (%2). It was kept "
                                       "as %3 and the program starts with fresh settings.")
                                .arg(m_file, damage, aside);
        result = createFresh(why) ? m_db.open(m_file) : SqliteDb::OpenResult::Failed;
        if (result == SqliteDb::OpenResult::Ok)
            configure(m_db);
    }
    if (result != SqliteDb::OpenResult::Ok) {
        if (m_openProblem.isEmpty())
            m_openProblem = QStringLiteral("The settings file %1 could not be opened: %2")
                                    .arg(m_file, why.isEmpty() ? m_db.lastError() : why);
        return;
    }
    m_cleanOpen = m_openProblem.isEmpty();
}

// The full check of a file that SQLite could open; the reason when it is damaged. Nothing is
// written before the file is found sound, so a damaged one is moved aside as it was. A sound
// file that cannot be written (read-only, disk full) stays open for reading, with a message.
QString RegistryStore::checkOpened()
{
    if (QString problem = RegistryStoreSchema::problem(m_db); !problem.isEmpty())
        return problem;
    const auto written = [this] {
        if (m_db.lastErrorIsDamage())
            return false;
        m_openProblem = QStringLiteral("The settings file %1 cannot be written: %2. Changes "
                                       "will not be kept.")
                                .arg(m_file, m_db.lastError());
        return true;
    };
    configure(m_db);
    // The first save must not be the first to find out the file cannot take a write.
    if (!RegistryStoreSchema::apply(m_db) && !written())
        return m_db.lastError();
    // It changes nothing, so it need not wait for the disk.
    m_db.exec(QStringLiteral("PRAGMA synchronous=OFF"));
    const bool probed = !m_openProblem.isEmpty() || m_db.transaction([this] {
        return m_db.exec(QStringLiteral("UPDATE meta SET value = value WHERE name = 'schema'"));
    });
    m_db.exec(QStringLiteral("PRAGMA synchronous=FULL"));
    if (!probed && !written())
        return m_db.lastError();
    return {};
}

// A new store is made under a temporary name and renamed into place, private to the user.
bool RegistryStore::createFresh(QString &why)
{
    const QString partial =
            m_file + QStringLiteral(".new-%1").arg(QCoreApplication::applicationPid());
    QFile::remove(partial);
    QFile file(partial);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly,
                   QFile::ReadOwner | QFile::WriteOwner)) {
        why = file.errorString();
        return false;
    }
    file.close();
    bool made = false;
    {
        SqliteDb fresh;
        made = fresh.open(partial) == SqliteDb::OpenResult::Ok && configure(fresh) &&
               RegistryStoreSchema::apply(fresh);
        if (!made)
            why = fresh.lastError();
    }
    // Another copy of the program may have made the store meanwhile: that one is used.
    if (made && !QFile::rename(partial, m_file) && !QFileInfo::exists(m_file)) {
        why = QStringLiteral("it could not be renamed from %1").arg(partial);
        made = false;
    }
    QFile::remove(partial);
    return made;
}

QString RegistryStore::restoreOffer() const
{
    if (!m_offer)
        return {};
    return QStringLiteral("A copy of the settings from %1 is kept (%2). Use it instead of fresh "
                          "settings?")
            .arg(QLocale().toString(RegistryStoreCopies::dayOf(*m_offer), QLocale::LongFormat),
                 *m_offer);
}

bool RegistryStore::restoreGoodCopy()
{
    if (!m_offer)
        return false;
    const QString copy = *m_offer;
    m_offer.reset();
    m_db.close();
    QString why;
    const bool restored = m_copies->restore(copy, &why);
    m_openProblem.clear();
    openFile();
    if (!restored)
        m_openProblem = QStringLiteral("The copy %1 could not be put in place of the settings "
                                       "file %2: %3")
                                .arg(copy, m_file, why);
    return restored && m_cleanOpen;
}

void RegistryStore::takeDailyCopy()
{
    if (!m_cleanOpen)
        return;
    bool holdsAnything = false;
    m_db.readTransaction([&] {
        SqliteDb::Statement any(m_db, "SELECT 1 FROM reg_key LIMIT 1");
        holdsAnything = any.next();
        return true;
    });
    if (holdsAnything)
        m_copies->takeInBackground(Clock::currentDate());
}

void RegistryStore::waitForCopy()
{
    m_copies->wait();
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
