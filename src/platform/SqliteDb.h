#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

// A small RAII layer over the sqlite3 C API: one connection, prepared statements with bound
// values, and transactions that nest (only the outermost one commits).
class SqliteDb final
{
public:
    class Statement;

    enum class OpenResult { Ok, Failed, Damaged };
    // Checked: read and write, created when missing, refused when SQLite finds damage.
    // ReadOnly: an existing file as it is, without the check.
    enum class Mode { Checked, ReadOnly };

    SqliteDb();
    ~SqliteDb();
    SqliteDb(const SqliteDb &) = delete;
    SqliteDb &operator=(const SqliteDb &) = delete;

    // Opens (creating when missing) and checks that the file is a sound database.
    OpenResult open(const QString &path, Mode mode = Mode::Checked);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    QString path() const { return m_path; }

    bool exec(const QString &sql);
    // Runs `work` inside BEGIN IMMEDIATE ... COMMIT; rolls back when it returns false.
    bool transaction(const std::function<bool()> &work);
    // Runs `work` on one snapshot of the file (BEGIN DEFERRED), so a read of several
    // statements never sees half of another process's commit. Inside a transaction it just runs.
    // `work` only reads: a write inside would not take the write lock first.
    bool readTransaction(const std::function<bool()> &work);
    bool inTransaction() const { return m_depth > 0; }

    QString lastError() const { return m_lastError; }
    // True when the last error says the file itself is damaged (not locked, full or read-only).
    bool lastErrorIsDamage() const;
    // Takes the error of the last call on the connection.
    void noteError();
    sqlite3 *handle() const { return m_db; }
    qint64 lastInsertId() const;

private:
    static int onBusy(void *self, int count);

    sqlite3 *m_db = nullptr;
    std::chrono::steady_clock::time_point m_busySince;
    QString m_path;
    QString m_lastError;
    int m_lastCode = 0;
    int m_depth = 0;
    bool m_failed = false;
};

// One prepared statement; reset and rebound for every use.
class SqliteDb::Statement final
{
public:
    Statement(SqliteDb &db, const char *sql);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    bool isValid() const { return m_stmt != nullptr; }
    Statement &bind(int index, const QString &text);
    Statement &bind(int index, qint64 number);
    Statement &bind(int index, const QByteArray &blob);
    Statement &bindNull(int index);

    // true while a row is available; false when done or on error (see ok()).
    bool next();
    // Runs to completion; false on error.
    bool run();
    bool ok() const { return m_ok; }

    QString text(int column) const;
    qint64 integer(int column) const;
    QByteArray blob(int column) const;
    bool isNull(int column) const;

private:
    void reset();

    SqliteDb &m_db;
    sqlite3_stmt *m_stmt = nullptr;
    bool m_ok = true;
    bool m_fresh = true;
};
