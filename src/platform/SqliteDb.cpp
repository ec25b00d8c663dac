#include "platform/SqliteDb.h"

#include <sqlite3.h>

namespace {

QString errorText(sqlite3 *db)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("no database");
}

bool isHigh(char16_t unit)
{
    return unit >= 0xD800 && unit < 0xDC00;
}

bool isLow(char16_t unit)
{
    return unit >= 0xDC00 && unit < 0xE000;
}

// Texts go in as UTF-8 that also carries lone surrogates (three bytes each, as WTF-8 does):
// QString::toUtf8 would turn them into "?", and registry texts are unvalidated UTF-16.
QByteArray storedBytes(const QString &text)
{
    QByteArray out;
    out.reserve(text.size() * 3);
    const auto add = [&out](int byte) {
        out += char(byte);
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text.at(i).unicode();
        if (isHigh(char16_t(c)) && i + 1 < text.size() && isLow(text.at(i + 1).unicode()))
            c = QChar::surrogateToUcs4(char16_t(c), text.at(++i).unicode());
        if (c < 0x80) {
            add(int(c));
        } else if (c < 0x800) {
            add(0xC0 | int(c >> 6));
            add(0x80 | int(c & 0x3F));
        } else if (c < 0x10000) {
            add(0xE0 | int(c >> 12));
            add(0x80 | int((c >> 6) & 0x3F));
            add(0x80 | int(c & 0x3F));
        } else {
            add(0xF0 | int(c >> 18));
            add(0x80 | int((c >> 12) & 0x3F));
            add(0x80 | int((c >> 6) & 0x3F));
            add(0x80 | int(c & 0x3F));
        }
    }
    return out;
}

// The reverse of storedBytes, keeping every character as it is: QString::fromUtf8 would drop
// a leading U+FEFF as a byte-order mark. Bytes that are no UTF-8 (a file changed by another
// program) each become U+FFFD.
QString fromStoredBytes(const unsigned char *bytes, qsizetype size)
{
    QString out;
    out.reserve(size);
    const auto continuation = [&](qsizetype at) {
        return at < size && (bytes[at] & 0xC0) == 0x80;
    };
    for (qsizetype i = 0; i < size;) {
        const unsigned char lead = bytes[i];
        char32_t c = 0;
        qsizetype length = 1;
        char32_t least = 0;
        if (lead < 0x80) {
            c = lead;
        } else if (lead >= 0xC2 && lead < 0xE0) {
            length = 2;
            c = lead & 0x1F;
            least = 0x80;
        } else if (lead >= 0xE0 && lead < 0xF0) {
            length = 3;
            c = lead & 0x0F;
            least = 0x800;
        } else if (lead >= 0xF0 && lead < 0xF5) {
            length = 4;
            c = lead & 0x07;
            least = 0x10000;
        } else {
            length = 0;
        }
        for (qsizetype k = 1; k < length; ++k) {
            if (!continuation(i + k)) {
                length = 0;
                break;
            }
            c = (c << 6) | (bytes[i + k] & 0x3F);
        }
        if (length == 0 || c < least || c > 0x10FFFF) {
            out += QChar(QChar::ReplacementCharacter);
            ++i;
            continue;
        }
        if (c >= 0x10000) {
            out += QChar(QChar::highSurrogate(c));
            out += QChar(QChar::lowSurrogate(c));
        } else {
            out += QChar(char16_t(c));
        }
        i += length;
    }
    return out;
}

} // namespace

SqliteDb::SqliteDb() = default;

SqliteDb::~SqliteDb()
{
    close();
}

SqliteDb::OpenResult SqliteDb::open(const QString &path, Mode mode)
{
    close();
    m_path = path;
    const int flags = mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY
                                             : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags | SQLITE_OPEN_FULLMUTEX,
                                   nullptr);
    if (rc != SQLITE_OK) {
        m_lastError = errorText(m_db);
        close();
        return OpenResult::Failed;
    }
    // Another process may hold a write lock for a moment; wait instead of failing.
    sqlite3_busy_handler(m_db, &SqliteDb::onBusy, this);
    if (mode == Mode::ReadOnly)
        return OpenResult::Ok;

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

bool SqliteDb::lastErrorIsDamage() const
{
    const int code = m_lastCode & 0xff;
    return code == SQLITE_CORRUPT || code == SQLITE_NOTADB;
}

void SqliteDb::noteError()
{
    m_lastError = errorText(m_db);
    m_lastCode = m_db ? sqlite3_errcode(m_db) : SQLITE_MISUSE;
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
        m_lastCode = rc;
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
    const int code = m_lastCode;
    exec(QStringLiteral("ROLLBACK"));
    m_lastError = error;
    m_lastCode = code;
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
        m_db.noteError();
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
        const QByteArray bytes = storedBytes(text);
        sqlite3_bind_text(m_stmt, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
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
        m_db.noteError();
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
    const unsigned char *data = sqlite3_column_text(m_stmt, column);
    return data ? fromStoredBytes(data, sqlite3_column_bytes(m_stmt, column)) : QString();
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
