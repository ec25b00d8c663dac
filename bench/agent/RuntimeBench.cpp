// Measures the character component as it runs: wake-ups and CPU while standing still with
// idling off, CPU while animating and walking, memory per character, and the time from
// Speak to the first sample of audio. Run offscreen by default; set DISPLAY and
// QT_QPA_PLATFORM=xcb to include the X11 window costs.
#include "agent/AgentCharacter.h"
#include "agent/AgentClock.h"
#include "agent/BalloonWindow.h"
#include "agent/CharacterRuntime.h"
#include "agent/CharacterWindow.h"
#include "agent/Characters.h"
#include "agent/SpeechOutput.h"
#include "agent/SpeechTags.h"
#include "settings/SettingsStore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

namespace {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double rssMb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * 4096.0 / (1024.0 * 1024.0) : 0;
}

// Counts the timer events the whole program receives.
class WakeCounter final : public QObject
{
public:
    int timers = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Timer)
            ++timers;
        return false;
    }
};

struct Span
{
    double cpuPercent = 0;
    double wakeupsPerSecond = 0;
    double switchesPerSecond = 0; // every sleep of every thread: the wake-ups the OS sees
};

long voluntarySwitches()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_nvcsw;
}

Span measure(int ms, const std::function<void()> &during = {})
{
    WakeCounter counter;
    qApp->installEventFilter(&counter);
    const double cpu = cpuSeconds();
    const long switches = voluntarySwitches();
    QElapsedTimer wall;
    wall.start();
    if (during)
        during();
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    const double seconds = double(wall.elapsed()) / 1000.0;
    qApp->removeEventFilter(&counter);
    // The measuring timer itself is one wake-up.
    return {100.0 * (cpuSeconds() - cpu) / seconds, double(counter.timers - 1) / seconds,
            double(voluntarySwitches() - switches) / seconds};
}

void waitIdle(AgentCharacter *character)
{
    if (!QTest::qWaitFor([&] { return !character->runtime().isBusy(); }, 30000))
        std::fprintf(stderr, "%s did not finish its requests\n", qPrintable(character->id()));
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("QUILLOMI_HOME", home.path().toUtf8());
    QApplication app(argc, argv);
    SettingsStore::useUserFiles();
    const QString chars = QStringLiteral(QUILLOMI_BUILD_DATA_DIR "/chars/");
    const QString file =
            argc > 1 ? QString::fromLocal8Bit(argv[1]) : chars + QStringLiteral("Wobbo_Mini.acs");
    const double baseRss = rssMb();

    Characters characters;
    if (!characters.Load(QStringLiteral("Agent0"), file)) {
        std::fprintf(stderr, "%s\n", qPrintable(characters.lastError()));
        return 1;
    }
    AgentCharacter *main = characters(QStringLiteral("Agent0"));
    main->setIdleOn(false);
    main->Show();
    waitIdle(main);
    QTest::qWait(2000); // let start-up timers (tray, window manager hints) run out

    std::printf("%-52s %10s\n", "measure", "value");
    const Span still = measure(10000);
    std::printf("%-52s %9.2f/s\n", "standing still, idle off: timer wake-ups",
                still.wakeupsPerSecond);
    std::printf("%-52s %9.3f %%\n", "standing still, idle off: CPU of one core", still.cpuPercent);

    // Default settings: idling on, level 1 animations at random gaps after the first 8 s.
    main->setIdleOn(true);
    const Span idling = measure(60000);
    main->setIdleOn(false);
    std::printf("%-52s %9.3f %%\n", "standing, idle on (60 s): CPU of one core", idling.cpuPercent);
    std::printf("%-52s %9.2f/s\n", "standing, idle on: timer wake-ups", idling.wakeupsPerSecond);
    std::printf("%-52s %9.2f/s\n", "standing, idle on: thread sleeps (all threads)",
                idling.switchesPerSecond);

    const Span animating = measure(10000, [&] {
        for (int i = 0; i < 40; ++i)
            main->Play(QStringLiteral("Idle1_1"));
    });
    main->StopAll();
    std::printf("%-52s %9.2f %%\n", "animating (Idle1_1 in a loop): CPU of one core",
                animating.cpuPercent);
    std::printf("%-52s %9.2f/s\n", "animating: timer wake-ups", animating.wakeupsPerSecond);
    std::printf("%-52s %9.2f/s\n", "animating: thread sleeps (all threads)",
                animating.switchesPerSecond);
    const Span talking = measure(8000, [&] {
        main->Speak(QStringLiteral("I am speaking a long sentence now so that the mouth keeps "
                                   "moving for a good while and the balloon shows every word."));
    });
    main->StopAll();
    std::printf("%-52s %9.2f %%\n", "speaking (lip sync, balloon, silent device): CPU",
                talking.cpuPercent);
    const Span walking = measure(6000, [&] {
        for (int i = 0; i < 4; ++i) {
            main->MoveTo(100, 100);
            main->MoveTo(700, 500);
        }
    });
    main->StopAll();
    std::printf("%-52s %9.2f %%\n", "walking back and forth: CPU of one core", walking.cpuPercent);

    // A 20 KB clipboard read aloud, or a megabyte pasted without a space, must never stall
    // the event loop.
    QString sentences;
    while (sentences.size() < 20000)
        sentences += QStringLiteral("This is one sentence of a long clipboard text to read. ");
    for (const auto &[label, text] :
         {std::pair{"Speak of 20 KB", sentences},
          std::pair{"Speak of 1 MB without spaces", QString(1024 * 1024, u'x')}}) {
        QElapsedTimer gap;
        qint64 longest = 0;
        QTimer probe;
        probe.setInterval(std::chrono::milliseconds(1));
        QObject::connect(&probe, &QTimer::timeout, &probe,
                         [&] { longest = std::max(longest, gap.restart()); });
        QElapsedTimer call;
        call.start();
        main->Speak(text);
        const qint64 callMs = call.elapsed();
        gap.start();
        probe.start();
        QTest::qWait(3000);
        probe.stop();
        // Dragging the character while its balloon holds the whole text.
        QElapsedTimer drag;
        drag.start();
        for (int i = 1; i <= 10; ++i)
            main->balloon()->follow(QRect(QPoint(400 + i, 300), main->data()->frameSize));
        const double followMs = double(drag.nsecsElapsed()) / 1e6 / 10;
        main->StopAll();
        std::printf("%-52s %9.2f ms\n",
                    qPrintable(label + QStringLiteral(": balloon follows one drag step")),
                    followMs);
        std::printf("%-52s %9lld ms\n", qPrintable(label + QStringLiteral(": the call itself")),
                    callMs);
        std::printf("%-52s %9lld ms\n",
                    qPrintable(label + QStringLiteral(": longest event-loop stall after")),
                    longest);
    }

    // Every frame drawn once fills the frame cache: the real cost of a character in use.
    const auto drawAll = [](AgentCharacter *character) {
        for (const CharacterData::Animation &animation : character->data()->animations()) {
            for (const CharacterData::Frame &frame : animation.frames)
                character->window()->showFrame(&frame, std::nullopt);
        }
        QTest::qWait(50);
    };
    drawAll(main);
    const double oneRss = rssMb();
    const QStringList others{QStringLiteral("Pico_Fox.acs"), QStringLiteral("Plum_Block.acs"),
                             QStringLiteral("Wobbo_Mini.acs")};
    for (int i = 0; i < others.size(); ++i) {
        const QString id = QStringLiteral("Agent%1").arg(i + 1);
        characters.Load(id, chars + others.at(i));
        AgentCharacter *extra = characters(id);
        extra->setIdleOn(false);
        extra->Show();
        waitIdle(extra);
        drawAll(extra);
    }
    const double allRss = rssMb();
    std::printf("%-52s %9.1f MB\n", "memory: first character, all animations played",
                oneRss - baseRss);
    std::printf("%-52s %9.1f MB\n", "memory: each further character (3 more)",
                (allRss - oneRss) / double(others.size()));

    // Speak to the first sample handed to the sound device, 20 words.
    const SpeechScript sentence = SpeechTags::parse(QStringLiteral(
            "\\Vol=58500\\Good morning Ann, it is nine o'clock and your reminder says that the "
            "dentist expects you at ten today."));
    QList<double> times;
    for (int i = 0; i < 21; ++i) {
        SpeechOutput output(AgentClock::system());
        output.setAudible(false);
        QElapsedTimer timer;
        bool first = false;
        QObject::connect(&output, &SpeechOutput::firstAudio, &output, [&] { first = true; });
        timer.start();
        output.speak(sentence, QStringLiteral("en-us+f3"), 170);
        while (!first)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        times << double(timer.nsecsElapsed()) / 1e6;
        output.stop();
    }
    const double cold = times.takeFirst();
    std::sort(times.begin(), times.end());
    std::printf("%-52s %9.1f ms\n", "Speak to first sample, 20 words, first call", cold);
    std::printf("%-52s %9.1f ms\n", "Speak to first sample, 20 words, median of 20",
                times.at(times.size() / 2));
    std::printf("%-52s %9.1f ms\n", "Speak to first sample, 20 words, worst of 20", times.last());
    return 0;
}
