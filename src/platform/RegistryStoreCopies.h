#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <thread>

// The last good copies of a settings store file, kept beside it as "<file>.good-yyyyMMdd":
// taken after a clean open, at most one a day, the newest three kept. A copy is written under
// a temporary name, synced and then renamed, so a copy under its final name is always whole.
class RegistryStoreCopies final
{
public:
    static constexpr int Kept = 3;

    explicit RegistryStoreCopies(const QString &storeFile);
    // Waits for a copy being taken.
    ~RegistryStoreCopies();
    RegistryStoreCopies(const RegistryStoreCopies &) = delete;
    RegistryStoreCopies &operator=(const RegistryStoreCopies &) = delete;

    // Starts taking the copy of `day` on a thread of its own, unless there is a copy of that
    // day (or a later one) already; returns at once. The store file must be open and sound.
    void takeInBackground(const QDate &day);
    void wait();

    // The copies, newest first.
    QStringList copies() const;
    // The newest copy that passes the full check of a store.
    std::optional<QString> newestGood() const;
    static QDate dayOf(const QString &copy);

    // Puts `copy` in place of the store file (closed by the caller): a new file renamed over it,
    // so the store is either the old file or the whole copy.
    bool restore(const QString &copy, QString *error = nullptr) const;

private:
    void take(const QDate &day) const;
    void prune() const;

    QString m_file;
    std::thread m_worker;
};
