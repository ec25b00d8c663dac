#include "platform/SqliteDb.h"

#include <sqlite3.h>

namespace {

QString errorText(sqlite3 *db)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("no database");
}

} // namespace

SqliteDb::SqliteDb() = default;

SqliteDb::~SqliteDb()
{
    close();
}

SqliteDb::OpenResult SqliteDb::open(const QString &path)
{
    close();
    m_path = path;
    const int rc = sqlite3_open_v2(
            path.toUtf8().constData(), &m_db,
            SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        m_lastError = errorText(m_db);
        close();
        return OpenResult::Failed;
    }
    // Another process may hold a write lock for a moment; wait instead of failing.
    sqlite3_busy_handler(m_db, &SqliteDb::onBusy, this);

    // A file that is not a database only shows itself on the first read.
    Statement check(*this, "PRAGMA quick_check");
    const bool readable = check.next();
    const QString verdict = readable ? check.text(0) : QString();
    const int code = sqlite3_errcode(m_db);
    if (!readable || verdict != QLatin1String("ok")) {
        m_lastError = readable ? verdict : errorText(m_db);
        const bool damaged = code == SQLITE_NOTADB || code == SQLITE_CORRUPT ||
                             (readable && verdict != QLatin1String("ok"));
        close();
        return damaged ? OpenResult::Damaged : OpenResult::Failed;
    }
    return OpenResult::Ok;
}

int SqliteDb::onBusy(void *self, int count)
{
    // Short, even polls: SQLite's own timeout backs off to 100 ms sleeps, and a process in
    // such a sleep keeps losing the lock to busier writers until it gives up.
    constexpr auto limit = std::chrono::seconds(10);
    auto *db = static_cast<SqliteDb *>(self);
    const auto now = std::chrono::steady_clock::now();
    if (count == 0)
        db->m_busySince = now;
    if (now - db->m_busySince > limit)
        return 0;
    sqlite3_sleep(count < 20 ? 1 : 2);
    return 1;
}

void SqliteDb::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
    m_depth = 0;
}

qint64 SqliteDb::lastInsertId() const
{
    return m_db ? sqlite3_last_insert_rowid(m_db) : 0;
}

bool SqliteDb::exec(const QString &sql)
{
    if (!m_db)
        return false;
    char *message = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        m_lastError = QString::fromUtf8(message ? message : sqlite3_errstr(rc));
        sqlite3_free(message);
        return false;
    }
    return true;
}

bool SqliteDb::transaction(const std::function<bool()> &work)
{
    if (!m_db)
        return false;
    if (m_depth > 0) {
        // Nested: the outermost transaction decides.
        ++m_depth;
        const bool ok = work();
        --m_depth;
        if (!ok)
            m_failed = true;
        return ok;
    }
    if (!exec(QStringLiteral("BEGIN IMMEDIATE")))
        return false;
    m_depth = 1;
    m_failed = false;
    const bool ok = work() && !m_failed;
    m_depth = 0;
    if (ok && exec(QStringLiteral("COMMIT")))
        return true;
    const QString error = m_lastError;
    exec(QStringLiteral("ROLLBACK"));
    m_lastError = error;
    return false;
}

bool SqliteDb::readTransaction(const std::function<bool()> &work)
{
    if (!m_db)
        return false;
    if (m_depth > 0)
        return work();
    if (!exec(QStringLiteral("BEGIN")))
        return work();
    m_depth = 1;
    const bool ok = work();
    m_depth = 0;
    exec(QStringLiteral("COMMIT"));
    return ok;
}

SqliteDb::Statement::Statement(SqliteDb &db, const char *sql)
    : m_db(db)
{
    if (!db.handle() || sqlite3_prepare_v2(db.handle(), sql, -1, &m_stmt, nullptr) != SQLITE_OK) {
        m_db.setLastError(errorText(db.handle()));
        m_stmt = nullptr;
        m_ok = false;
    }
}

SqliteDb::Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

void SqliteDb::Statement::reset()
{
    if (!m_fresh && m_stmt) {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
        m_ok = true;
    }
    m_fresh = true;
}

SqliteDb::Statement &SqliteDb::Statement::bind(int index, const QString &text)
{
    reset();
    if (m_stmt) {
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    return *this;
}

SqliteDb::Statement &SqliteDb::Statement::bind(int index, qint64 number)
{
    reset();
    if (m_stmt)
        sqlite3_bind_int64(m_stmt, index, number);
    return *this;
}

SqliteDb::Statement &SqliteDb::Statement::bind(int index, const QByteArray &blob)
{
    reset();
    if (m_stmt)
        sqlite3_bind_blob(m_stmt, index, blob.constData(), int(blob.size()), SQLITE_TRANSIENT);
    return *this;
}

SqliteDb::Statement &SqliteDb::Statement::bindNull(int index)
{
    reset();
    if (m_stmt)
        sqlite3_bind_null(m_stmt, index);
    return *this;
}

bool SqliteDb::Statement::next()
{
    if (!m_stmt || !m_ok)
        return false;
    m_fresh = false;
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE) {
        m_ok = false;
        m_db.setLastError(errorText(m_db.handle()));
    }
    return false;
}

bool SqliteDb::Statement::run()
{
    while (next()) {
    }
    const bool ok = m_ok;
    reset();
    return ok;
}

QString SqliteDb::Statement::text(int column) const
{
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    return data ? QString::fromUtf8(data, sqlite3_column_bytes(m_stmt, column)) : QString();
}

qint64 SqliteDb::Statement::integer(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

QByteArray SqliteDb::Statement::blob(int column) const
{
    const auto *data = static_cast<const char *>(sqlite3_column_blob(m_stmt, column));
    return data ? QByteArray(data, sqlite3_column_bytes(m_stmt, column)) : QByteArray();
}

bool SqliteDb::Statement::isNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}
