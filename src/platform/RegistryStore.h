#pragma once

#include "platform/RegValue.h"
#include "platform/SqliteDb.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class RegistryStoreCopies;

// The registry stand-in: a tree of keys with named values, kept in one SQLite file.
// Paths are registry paths joined by "\" ("HKEY_CURRENT_USER\Software\..."); key and value
// names compare without regard to case, and keys and values come back in the order they
// were created (an overwritten value keeps its place). Every multi-step write runs in one
// transaction, so a kill leaves the old or the new state, never a half one.
// A file that fails the full check at open is moved aside, never deleted; the store starts
// fresh and offers the newest good copy of the file (see RegistryStoreCopies).
class RegistryStore final
{
public:
    explicit RegistryStore(const QString &file);
    ~RegistryStore();
    RegistryStore(const RegistryStore &) = delete;
    RegistryStore &operator=(const RegistryStore &) = delete;

    // The user's store, opened on first use at the file given to setGlobalFile().
    static RegistryStore &global();
    // Where global() keeps the user's store; closes the one open now.
    static void setGlobalFile(const QString &file);
    // Closes the global store; the next global() opens it again.
    static void resetGlobal();

    bool isOpen() const { return m_db.isOpen(); }
    QString file() const { return m_file; }
    // Set when the file was damaged and has been moved aside, or cannot be opened or written:
    // a message for the user.
    QString openProblem() const { return m_openProblem; }
    // After a damaged file: a question offering its newest good copy; empty when there is none.
    QString restoreOffer() const;
    // Puts the offered copy in place of the fresh store; false with openProblem() saying why.
    bool restoreGoodCopy();
    // After a clean open of a store holding anything: starts taking today's copy on a thread
    // of its own (at most one a day, three kept). Returns at once.
    void takeDailyCopy();
    // Waits for the copy being taken.
    void waitForCopy();
    QString lastError() const { return m_db.lastError(); }

    bool createKey(const QString &path);
    bool keyExists(const QString &path);
    // Deletes the key with all its values and subkeys; true when it is gone.
    bool deleteKey(const QString &path);
    QStringList subKeys(const QString &path);

    QList<RegValue> values(const QString &path);
    std::optional<RegValue> value(const QString &path, const QString &name);
    // Writes into an existing key only; false when the key is missing.
    bool setValue(const QString &path, const RegValue &value);
    bool deleteValue(const QString &path, const QString &name);
    // Creates the key when needed and replaces all its values (subkeys stay), atomically.
    bool replaceValues(const QString &path, const QList<RegValue> &values);

    // The key at `path` with everything below it; empty when the key is missing.
    std::optional<RegKeyTree> tree(const QString &path);
    // Replaces the key at `path` (its name stays as the path says) with `tree`, atomically.
    bool replaceTree(const QString &path, const RegKeyTree &tree);

    // Runs several operations as one transaction.
    bool transaction(const std::function<bool()> &work) { return m_db.transaction(work); }

    static QStringList splitPath(const QString &path);

private:
    void openFile();
    QString checkOpened();
    bool createFresh(QString &why);
    std::optional<qint64> findKey(const QString &path);
    std::optional<RegValue> valueIn(const QString &path, const QString &name);
    std::optional<qint64> ensureKey(const QString &path);
    bool deleteKeyId(qint64 id);
    static const char *const UpsertValueSql;
    static bool writeValue(SqliteDb::Statement &upsert, qint64 key, const RegValue &value);
    bool writeValues(qint64 key, const QList<RegValue> &values);
    bool deleteValueIn(qint64 key, const RegValue &value);
    bool writeTree(qint64 key, const RegKeyTree &tree);
    void readTree(qint64 key, RegKeyTree &into);
    QList<RegValue> valuesOf(qint64 key);

    QString m_file;
    QString m_openProblem;
    std::optional<QString> m_offer;
    bool m_cleanOpen = false;
    SqliteDb m_db;
    std::unique_ptr<RegistryStoreCopies> m_copies;
};
