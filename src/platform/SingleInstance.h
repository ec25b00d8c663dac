#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <chrono>

class QLocalSocket;

// The channel through which a second copy of the program finds the running one. A lock file
// in the runtime folder decides which copy runs (listen() cannot: it silently replaces a live
// server's socket); the running copy then serves a user-only local socket on which any
// command is accepted and otherwise ignored.
class SingleInstance final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SingleInstance)

public:
    enum class Outcome {
        FirstCopy,           // this copy runs and now serves the channel
        AnotherCopyAnswered, // a running copy accepted "run": end quietly
        AnotherCopyRunning,  // a live copy holds the lock but did not answer: end all the same
    };

    static inline const QByteArray RunCommand = QByteArrayLiteral("run");
    static inline const QByteArray Accepted = QByteArrayLiteral("accepted");
    static constexpr std::chrono::milliseconds DefaultAnswerTimeout{2000};

    // The lock and the socket live in `folder`, which must be the user's own and closed to
    // others; any other folder is refused (see problem()).
    explicit SingleInstance(const QString &folder, QObject *parent = nullptr);
    ~SingleInstance() override;

    // Takes the lock without serving yet: true when this copy is (or may run as) the only
    // one. A copy that gets false is a second copy and must leave the stored data alone.
    bool claim();
    // Why the folder was refused, for the user; empty when it is sound. A refused folder
    // makes this copy run unguarded rather than end because of someone else's files.
    QString problem() const { return m_problem; }
    // The instance check of the start-up. Waits at most `answerTimeout` for a running copy.
    Outcome check(std::chrono::milliseconds answerTimeout = DefaultAnswerTimeout);

    bool isServing() const { return m_server.isListening(); }
    QString serverPath() const { return m_serverPath; }

    // Sends one command to the copy serving `serverPath`; true when it was accepted.
    static bool execute(const QString &serverPath, const QByteArray &command,
                        std::chrono::milliseconds timeout = DefaultAnswerTimeout);

signals:
    // A command arrived; the running copy does nothing else with it.
    void commandReceived(const QString &command);

private:
    void serve();
    void onConnection();
    void onReadyRead(QLocalSocket *socket);

    bool lockable();

    QString m_serverPath;
    QString m_problem;
    QLockFile m_lock;
    QLocalServer m_server;
};
