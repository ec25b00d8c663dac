#include "platform/UnixSignalWatcher.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// [0] is written by the handler, [1] read on the event loop.
int g_pipe[2] = {-1, -1};

extern "C" void onUnixSignal(int signalNumber)
{
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signalNumber);
    // Nothing but async-signal-safe calls here; a full pipe drops the signal, which is fine:
    // one undelivered byte already starts the quit.
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[0], &byte, 1);
    errno = savedErrno;
}

} // namespace

UnixSignalWatcher::UnixSignalWatcher(QObject *parent)
    : QObject(parent)
{
    if (g_pipe[0] != -1) {
        qWarning("Only one UnixSignalWatcher per process");
        return;
    }
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_pipe) != 0) {
        g_pipe[0] = g_pipe[1] = -1;
        qWarning("Cannot create the signal socket pair");
        return;
    }
    m_notifier = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &UnixSignalWatcher::onReadable);
}

UnixSignalWatcher::~UnixSignalWatcher()
{
    for (int signalNumber : m_watched) {
        struct sigaction action = {};
        action.sa_handler = SIG_DFL;
        sigemptyset(&action.sa_mask);
        ::sigaction(signalNumber, &action, nullptr);
    }
    if (m_notifier) {
        delete m_notifier;
        ::close(g_pipe[0]);
        ::close(g_pipe[1]);
        g_pipe[0] = g_pipe[1] = -1;
    }
}

bool UnixSignalWatcher::watch(int signalNumber)
{
    if (!m_notifier)
        return false;
    struct sigaction action = {};
    action.sa_handler = onUnixSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    if (::sigaction(signalNumber, &action, nullptr) != 0)
        return false;
    if (!m_watched.contains(signalNumber))
        m_watched << signalNumber;
    return true;
}

void UnixSignalWatcher::onReadable()
{
    unsigned char bytes[16];
    ssize_t count = 0;
    while ((count = ::read(g_pipe[1], bytes, sizeof bytes)) > 0) {
        for (ssize_t i = 0; i < count; ++i)
            emit signalReceived(bytes[i]);
    }
}
