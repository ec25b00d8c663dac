#include "platform/RegistryStoreCopies.h"

#include "platform/RegistryStoreSchema.h"
#include "platform/SqliteDb.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <pthread.h>
#include <sched.h>
#include <unistd.h>

namespace {

const QString kGood = QStringLiteral(".good-");
const QString kDayFormat = QStringLiteral("yyyyMMdd");

// A name under which this process alone writes, removed again when anything fails.
QString partialName(const QString &target)
{
    return target + QStringLiteral(".new-%1").arg(QCoreApplication::applicationPid());
}

bool sync(const QString &path, int flags)
{
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

// Renaming is only as durable as the folder entry: the data first, then the name.
bool replaceWith(const QString &partial, const QString &target)
{
    if (!sync(partial, O_RDONLY) || ::rename(QFile::encodeName(partial).constData(),
                                             QFile::encodeName(target).constData()) != 0)
        return false;
    sync(QFileInfo(target).absolutePath(), O_RDONLY | O_DIRECTORY);
    return true;
}

bool createPrivate(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::NewOnly,
                     QFile::ReadOwner | QFile::WriteOwner);
}

} // namespace

RegistryStoreCopies::RegistryStoreCopies(const QString &storeFile)
    : m_file(storeFile)
{}

RegistryStoreCopies::~RegistryStoreCopies()
{
    wait();
}

void RegistryStoreCopies::wait()
{
    if (m_worker.joinable())
        m_worker.join();
}

QDate RegistryStoreCopies::dayOf(const QString &copy)
{
    const qsizetype at = copy.lastIndexOf(kGood);
    return at < 0 ? QDate() : QDate::fromString(copy.mid(at + kGood.size()), kDayFormat);
}

QStringList RegistryStoreCopies::copies() const
{
    const QFileInfo store(m_file);
    const QDir folder = store.absoluteDir();
    QStringList found;
    for (const QString &name :
         folder.entryList({store.fileName() + kGood + QStringLiteral("????????")}, QDir::Files)) {
        if (dayOf(name).isValid())
            found << folder.filePath(name);
    }
    // The day in the name sorts as text.
    std::sort(found.begin(), found.end(), std::greater<>());
    return found;
}

std::optional<QString> RegistryStoreCopies::newestGood() const
{
    for (const QString &copy : copies()) {
        SqliteDb db;
        if (db.open(copy) == SqliteDb::OpenResult::Ok && RegistryStoreSchema::problem(db).isEmpty())
            return copy;
    }
    return std::nullopt;
}

void RegistryStoreCopies::takeInBackground(const QDate &day)
{
    wait();
    const QStringList existing = copies();
    if (!existing.isEmpty() && dayOf(existing.first()) >= day)
        return;
    m_worker = std::thread([this, day] {
        // Only spare time: the start-up goes on meanwhile and must not wait for the copy.
        const sched_param idle{};
        pthread_setschedparam(pthread_self(), SCHED_IDLE, &idle);
        take(day);
    });
}

void RegistryStoreCopies::take(const QDate &day) const
{
    const QString target = m_file + kGood + day.toString(kDayFormat);
    const QString partial = partialName(target);
    QFile::remove(partial);
    // VACUUM INTO writes into an empty file as it finds it, so the copy is private from the
    // start.
    if (!createPrivate(partial))
        return;
    bool copied = false;
    {
        SqliteDb db;
        if (db.open(m_file, SqliteDb::Mode::ReadOnly) == SqliteDb::OpenResult::Ok) {
            SqliteDb::Statement vacuum(db, "VACUUM INTO ?");
            copied = vacuum.bind(1, partial).run();
        }
    }
    if (copied && replaceWith(partial, target))
        prune();
    else
        QFile::remove(partial);
}

void RegistryStoreCopies::prune() const
{
    const QStringList all = copies();
    for (qsizetype i = Kept; i < all.size(); ++i)
        QFile::remove(all.at(i));
    // Copies cut short by a kill; one another process is writing just now only fails.
    const QFileInfo store(m_file);
    const QDir folder = store.absoluteDir();
    for (const QString &name :
         folder.entryList({store.fileName() + kGood + QStringLiteral("*.new-*")}, QDir::Files))
        QFile::remove(folder.filePath(name));
}

bool RegistryStoreCopies::restore(const QString &copy, QString *error) const
{
    const QString partial = partialName(m_file);
    QFile::remove(partial);
    QFile source(copy);
    QString why;
    if (!source.copy(partial) ||
        !QFile::setPermissions(partial, QFile::ReadOwner | QFile::WriteOwner)) {
        why = source.errorString();
    } else {
        // The journal files of the store being replaced would be applied to the copy.
        for (const char *suffix : {"-wal", "-shm"})
            QFile::remove(m_file + QLatin1String(suffix));
        if (!replaceWith(partial, m_file))
            why = QString::fromLocal8Bit(std::strerror(errno));
    }
    if (why.isEmpty())
        return true;
    QFile::remove(partial);
    if (error)
        *error = why;
    return false;
}
