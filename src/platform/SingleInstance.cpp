#include "platform/SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QTimer>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// One command is a short line; anything longer is not a copy of this program talking.
constexpr qint64 MaxCommandBytes = 1024;
constexpr std::chrono::milliseconds ClientGrace{5000};

// Another user who can make or write the folder (a shared /tmp) could plant a lock there that
// makes every start look like a second copy: the folder and the lock must be this user's.
QString ownershipProblem(const QString &folder, const QString &lock)
{
    const uid_t me = ::geteuid();
    struct stat info = {};
    QString why;
    if (::lstat(QFile::encodeName(folder).constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        why = QStringLiteral("it is no folder");
    else if (info.st_uid != me)
        why = QStringLiteral("it belongs to another user");
    else if (info.st_mode & 077)
        why = QStringLiteral("other users may use it (mode %1)").arg(info.st_mode & 0777, 3, 8);
    else if (::lstat(QFile::encodeName(lock).constData(), &info) == 0 &&
             (info.st_uid != me || !S_ISREG(info.st_mode)))
        why = QStringLiteral("its lock file belongs to another user");
    if (why.isEmpty())
        return why;
    return QStringLiteral("The folder %1, which keeps a second copy of the program from "
                          "starting, is not yours alone: %2. It is not used, and this copy runs "
                          "without that check.")
            .arg(folder, why);
}

} // namespace

SingleInstance::SingleInstance(const QString &folder, QObject *parent)
    : QObject(parent)
    , m_serverPath(QDir(folder).filePath(QStringLiteral("Quillomi-Main.socket")))
    , m_problem(ownershipProblem(folder, QDir(folder).filePath(QStringLiteral("Quillomi.lock"))))
    , m_lock(QDir(folder).filePath(QStringLiteral("Quillomi.lock")))
{
    // The lock lives as long as the program: never stale by age, only when its owner died.
    m_lock.setStaleLockTime(0);
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::onConnection);
}

SingleInstance::~SingleInstance()
{
    m_server.close();
    if (m_lock.isLocked())
        m_lock.unlock();
}

bool SingleInstance::lockable()
{
    return m_problem.isEmpty() &&
           (m_lock.isLocked() || m_lock.tryLock(std::chrono::milliseconds::zero()));
}

bool SingleInstance::claim()
{
    if (lockable())
        return true;
    // No lock can be made here at all: run unguarded rather than not at all (as check()).
    return !m_problem.isEmpty() || m_lock.error() != QLockFile::LockFailedError;
}

SingleInstance::Outcome SingleInstance::check(std::chrono::milliseconds answerTimeout)
{
    if (lockable()) {
        serve();
        return Outcome::FirstCopy;
    }
    if (!m_problem.isEmpty())
        return Outcome::FirstCopy;
    if (m_lock.error() != QLockFile::LockFailedError) {
        // No lock can be made here at all: run unguarded rather than not at all.
        qWarning("Cannot create the instance lock %s", qPrintable(m_lock.fileName()));
        return Outcome::FirstCopy;
    }
    if (execute(m_serverPath, RunCommand, answerTimeout))
        return Outcome::AnotherCopyAnswered;
    return Outcome::AnotherCopyRunning;
}

void SingleInstance::serve()
{
    if (m_server.isListening())
        return;
    // We hold the lock, so a socket file left here belongs to a copy that was killed.
    QLocalServer::removeServer(m_serverPath);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server.listen(m_serverPath))
        qWarning("Cannot serve %s: %s", qPrintable(m_serverPath),
                 qPrintable(m_server.errorString()));
}

void SingleInstance::onConnection()
{
    while (QLocalSocket *socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        // A client that never finishes its command does not keep the connection open.
        QTimer::singleShot(ClientGrace, socket, [socket] { socket->abort(); });
    }
}

void SingleInstance::onReadyRead(QLocalSocket *socket)
{
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > MaxCommandBytes)
            socket->abort();
        return;
    }
    const QByteArray command = socket->readLine(MaxCommandBytes).trimmed();
    socket->write(Accepted + '\n');
    socket->flush();
    socket->disconnectFromServer();
    emit commandReceived(QString::fromUtf8(command));
}

bool SingleInstance::execute(const QString &serverPath, const QByteArray &command,
                             std::chrono::milliseconds timeout)
{
    const QDeadlineTimer deadline(timeout);
    QLocalSocket socket;
    socket.connectToServer(serverPath);
    if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime())))
        return false;
    socket.write(command + '\n');
    if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
        return false;
    while (!socket.canReadLine()) {
        if (deadline.hasExpired() ||
            !socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            return false;
    }
    return socket.readLine(MaxCommandBytes).trimmed() == Accepted;
}
