// Start-up, memory and idle cost of the whole program on a virtual desktop (Xvfb, openbox,
// a bottom tint2 panel), measured from outside the process:
//   exec -> the character's window viewable on screen, exec -> the greeting's first audio
//   sample (the speech WAV), PSS after 30 s idle, CPU and wake-ups over a minute idle with
//   idle animations off; with no reminders and with 10,000.
// Usage: bench_startup [--runs N] [--quick] [--motion] [--other COMMAND ARGS...]
//   --motion measures the idle cost with the idle animations on (the default settings)
//   instead of with reduced motion.
//   --other times that program's start instead (exec -> its first viewable window) and its
//   memory and idle cost, for side-by-side figures.

#include "platform/RegistryStore.h"
#include "settings/SettingsStore.h"
#include "support/VirtualDesktop.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <optional>
#include <xcb/xcb.h>

namespace {

const QByteArray Title = QByteArrayLiteral("::: Quillomi :::");

struct Options
{
    int runs = 5;
    int settleSeconds = 30;    // idle before the memory reading
    int quietFromSeconds = 75; // the web greeting (after a minute) is over by then
    int measureSeconds = 60;
    bool motion = false; // idle with the character's idle animations, as by default
    QStringList other;
};

// Viewable windows on the X display, seen the way a user's screen shows them.
class Screen final
{
public:
    explicit Screen(const QString &display)
        : m_connection(xcb_connect(display.toLatin1().constData(), nullptr))
    {
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    }
    ~Screen() { xcb_disconnect(m_connection); }
    Screen(const Screen &) = delete;
    Screen &operator=(const Screen &) = delete;

    // Viewable windows (two levels deep: the window manager's frames hold the clients)
    // whose name is `title`, or any name when `title` is empty.
    QList<xcb_window_t> viewable(const QByteArray &title) const
    {
        QList<xcb_window_t> found;
        collect(m_root, 0, title, found);
        return found;
    }

private:
    void collect(xcb_window_t parent, int depth, const QByteArray &title,
                 QList<xcb_window_t> &found) const
    {
        xcb_query_tree_reply_t *tree =
                xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, parent), nullptr);
        if (!tree)
            return;
        const xcb_window_t *children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
            const xcb_window_t window = children[i];
            xcb_get_window_attributes_reply_t *attributes = xcb_get_window_attributes_reply(
                    m_connection, xcb_get_window_attributes(m_connection, window), nullptr);
            const bool shown = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
            free(attributes);
            if (!shown)
                continue;
            if (depth > 0 && matches(window, title))
                found << window;
            if (depth < 2)
                collect(window, depth + 1, title, found);
        }
        free(tree);
    }

    bool matches(xcb_window_t window, const QByteArray &title) const
    {
        xcb_get_property_reply_t *name = xcb_get_property_reply(
                m_connection,
                xcb_get_property(m_connection, 0, window, XCB_ATOM_WM_NAME, XCB_ATOM_ANY, 0, 256),
                nullptr);
        if (!name)
            return false;
        const QByteArray text(static_cast<const char *>(xcb_get_property_value(name)),
                              xcb_get_property_value_length(name));
        free(name);
        return title.isEmpty() ? !text.isEmpty() && text != "tint2" : text == title;
    }

    xcb_connection_t *m_connection;
    xcb_window_t m_root = 0;
};

// A home with a user who has started before, and `reminders` future reminders.
void prepareHome(const QString &home, int reminders)
{
    qputenv("QUILLOMI_HOME", home.toUtf8());
    SettingsStore::useUserFiles();
    SettingsStore store;
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    store.save(SettingsStore::AppName, QStringLiteral("Setting"), QStringLiteral("StRun"),
               QStringLiteral("No"));
    store.save(SettingsStore::AppName, QStringLiteral("Setting"), QStringLiteral("User"),
               QStringLiteral("Bench"));
    store.save(SettingsStore::AppName, QStringLiteral("Setting"), QStringLiteral("LastAutoBackup"),
               today);
    SettingsStore::Entries alarms;
    for (int i = 1; i <= reminders; ++i) {
        alarms.append({QString::number(i),
                       QStringLiteral("2099-01-01|Message %1|Subject %1|10:00:00|0|1|True|False|"
                                      "False|False|False|False|False|0|1|2099-01-01")
                               .arg(i)});
    }
    store.replaceSection(SettingsStore::AppName, QStringLiteral("Alarm"), alarms);
    RegistryStore::resetGlobal();
}

qint64 procValue(const QString &path, const QByteArray &key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// CPU time of each thread in nanoseconds (schedstat: far finer than the 10 ms clock ticks
// of /proc/PID/stat, which would round a minute's idle cost to 0 or 1 tick).
QHash<QString, qint64> cpuNanoseconds(qint64 pid)
{
    QHash<QString, qint64> perThread;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile file(tasks.filePath(task) + QStringLiteral("/schedstat"));
        if (file.open(QIODevice::ReadOnly))
            perThread.insert(task, file.readAll().split(' ').value(0).toLongLong());
    }
    return perThread;
}

// Voluntary context switches of each thread: each one is a sleep, so a wake-up follows.
// (Preemptions are left out: they count the machine's other load, not the program's.)
QHash<QString, qint64> switches(qint64 pid)
{
    QHash<QString, qint64> perThread;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString status = tasks.filePath(task) + QStringLiteral("/status");
        perThread.insert(task, procValue(status, "voluntary_ctxt_switches:"));
    }
    return perThread;
}

// The growth between two per-thread readings; threads that ended meanwhile are not counted,
// new ones count from zero.
qint64 growthBetween(const QHash<QString, qint64> &before, const QHash<QString, qint64> &after)
{
    qint64 total = 0;
    for (auto it = after.cbegin(); it != after.cend(); ++it)
        total += it.value() - before.value(it.key(), 0);
    return total;
}

// When the first Speak request began, in milliseconds since the process started: the
// greeting's words wait for the show and "greet" animations queued before them.
double speechStart(const QString &logPath)
{
    QFile file(logPath);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.contains(" Speak "))
            return line.trimmed().split(' ').value(0).toDouble() * 1000.0;
    }
    return -1;
}

double median(QList<double> values)
{
    if (values.isEmpty())
        return -1;
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

struct Launch
{
    std::unique_ptr<QProcess> process;
    QElapsedTimer sinceExec;
};

Launch launch(const VirtualDesktop &desktop, const QStringList &command, const QString &home,
              const QString &wav, bool reducedMotion)
{
    QProcessEnvironment env = desktop.environment();
    env.insert(QStringLiteral("QUILLOMI_HOME"), home);
    env.insert(QStringLiteral("QUILLOMI_SITE"), QString());
    if (!wav.isEmpty())
        env.insert(QStringLiteral("QUILLOMI_SPEECH_WAV"), wav);
    if (reducedMotion)
        env.insert(QStringLiteral("QUILLOMI_REDUCED_MOTION"), QStringLiteral("1"));
    // Timed starts keep the component's log, stamped with the time since the process
    // started; idle runs log nothing, so the log costs nothing there.
    if (!wav.isEmpty()) {
        env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("quillomi.agent.info=true"));
        env.insert(QStringLiteral("QT_MESSAGE_PATTERN"),
                   QStringLiteral("%{time process} %{message}"));
    }
    Launch run;
    run.process = std::make_unique<QProcess>();
    run.process->setProcessEnvironment(env);
    run.process->setProcessChannelMode(QProcess::MergedChannels);
    run.process->setStandardOutputFile(wav.isEmpty() ? QProcess::nullDevice() : wav + u".log");
    run.sinceExec.start();
    run.process->start(command.first(), command.mid(1));
    return run;
}

void stop(Launch &run)
{
    if (run.process->state() == QProcess::NotRunning)
        return;
    run.process->terminate();
    if (!run.process->waitForFinished(10000)) {
        run.process->kill();
        run.process->waitForFinished(5000);
    }
}

// Polls every millisecond until `condition` holds; the milliseconds since exec, or -1.
double waitFor(const Launch &run, const std::function<bool()> &condition, int timeoutMs = 20000)
{
    while (run.sinceExec.elapsed() < timeoutMs) {
        if (condition())
            return run.sinceExec.nsecsElapsed() / 1e6;
        QThread::usleep(1000);
    }
    return -1;
}

void sleepUntil(const Launch &run, int seconds)
{
    while (run.sinceExec.elapsed() < qint64(seconds) * 1000)
        QThread::msleep(100);
}

struct IdleCost
{
    double pssMb = -1;
    double cpuPercent = -1;
    double wakeupsPerSecond = -1;
};

IdleCost measureIdle(Launch &run, const Options &options)
{
    IdleCost cost;
    const qint64 pid = run.process->processId();
    sleepUntil(run, options.settleSeconds);
    cost.pssMb = procValue(QStringLiteral("/proc/%1/smaps_rollup").arg(pid), "Pss:") / 1024.0;
    sleepUntil(run, options.quietFromSeconds);
    const QHash<QString, qint64> cpu0 = cpuNanoseconds(pid);
    const QHash<QString, qint64> switches0 = switches(pid);
    sleepUntil(run, options.quietFromSeconds + options.measureSeconds);
    cost.cpuPercent =
            100.0 * double(growthBetween(cpu0, cpuNanoseconds(pid))) / 1e9 / options.measureSeconds;
    cost.wakeupsPerSecond =
            double(growthBetween(switches0, switches(pid))) / options.measureSeconds;
    return cost;
}

void report(const char *label, const QList<double> &shown, const QList<double> &spoken,
            const QList<double> &heard, const IdleCost &idle)
{
    std::printf("%-18s on screen %6.1f ms  speech request %7.1f ms  first audio %7.1f ms  "
                "PSS %5.1f MB  CPU %6.3f %%  wake-ups %4.1f /s\n",
                label, median(shown), median(spoken), median(heard), idle.pssMb, idle.cpuPercent,
                idle.wakeupsPerSecond);
    std::fflush(stdout);
}

void benchQuillomi(const VirtualDesktop &desktop, const Options &options, int reminders,
                   const char *label)
{
    QTemporaryDir home;
    prepareHome(home.path(), reminders);
    const Screen screen(desktop.display());
    const QStringList command{QStringLiteral(QUILLOMI_EXE)};
    QList<double> shown;
    QList<double> spoken;
    QList<double> heard;
    // One start first to warm the caches; it is not counted.
    for (int i = 0; i <= options.runs; ++i) {
        const QString wav = home.filePath(QStringLiteral("speech%1.wav").arg(i));
        Launch run = launch(desktop, command, home.path(), wav, false);
        const double onScreen = waitFor(run, [&] { return !screen.viewable(Title).isEmpty(); });
        // The WAV header is 44 bytes; anything past it is sound.
        const double audio = waitFor(run, [&] { return QFileInfo(wav).size() > 44; });
        stop(run);
        if (i > 0) {
            shown << onScreen;
            spoken << speechStart(wav + u".log");
            heard << audio;
        }
    }
    Launch idle = launch(desktop, command, home.path(), {}, !options.motion);
    const IdleCost cost = measureIdle(idle, options);
    stop(idle);
    report(qPrintable(QString::fromUtf8(label) +
                      (options.motion ? QStringLiteral(", motion") : QString())),
           shown, spoken, heard, cost);
}

void benchOther(const VirtualDesktop &desktop, const Options &options)
{
    QTemporaryDir home;
    const Screen screen(desktop.display());
    QList<double> shown;
    for (int i = 0; i <= options.runs; ++i) {
        Launch run = launch(desktop, options.other, home.path(), {}, false);
        const double onScreen = waitFor(run, [&] { return !screen.viewable({}).isEmpty(); });
        if (i > 0)
            shown << onScreen;
        stop(run);
    }
    Launch idle = launch(desktop, options.other, home.path(), {}, false);
    const IdleCost cost = measureIdle(idle, options);
    stop(idle);
    report(qPrintable(QFileInfo(options.other.first()).fileName()), shown, {}, {}, cost);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    Options options;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args.at(i) == u"--runs" && i + 1 < args.size())
            options.runs = args.at(++i).toInt();
        else if (args.at(i) == u"--motion")
            options.motion = true;
        else if (args.at(i) == u"--quick") {
            options.settleSeconds = 5;
            options.quietFromSeconds = 5;
            options.measureSeconds = 5;
        } else if (args.at(i) == u"--other") {
            options.other = args.mid(i + 1);
            break;
        }
    }
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    VirtualDesktop desktop;
    if (!desktop.isReady()) {
        std::fprintf(stderr, "No virtual desktop: %s\n", qPrintable(desktop.error()));
        return 1;
    }
    if (!options.other.isEmpty()) {
        benchOther(desktop, options);
        return 0;
    }
    benchQuillomi(desktop, options, 0, "no reminders");
    benchQuillomi(desktop, options, 10000, "10,000 reminders");
    return 0;
}
