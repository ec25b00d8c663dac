#pragma once

#include <QList>
#include <QObject>

class QSocketNotifier;

// Turns Unix signals (SIGTERM at logout or shutdown, SIGINT, SIGHUP) into a Qt signal on
// the event loop, where it is safe to save and quit: the handler itself only writes the
// signal number into a socket pair. One watcher per process.
class UnixSignalWatcher final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(UnixSignalWatcher)

public:
    explicit UnixSignalWatcher(QObject *parent = nullptr);
    // Gives the watched signals back their default handling.
    ~UnixSignalWatcher() override;

    // Starts catching `signalNumber`; false when it cannot be caught.
    bool watch(int signalNumber);

signals:
    void signalReceived(int signalNumber);

private:
    void onReadable();

    QSocketNotifier *m_notifier = nullptr;
    QList<int> m_watched;
};
