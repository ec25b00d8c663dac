// A tiny program for the session-end tests: a quit sequence wired to Unix signals, whose
// steps print their names. "hides" lets the character hide 100 ms after the request,
// "stuck" never does. The second argument is the grace time in milliseconds.
#include "character/QuitSequence.h"
#include "platform/UnixSignalWatcher.h"

#include <QCoreApplication>
#include <QTimer>
#include <csignal>
#include <cstdio>

namespace {

void say(const char *line)
{
    std::fputs(line, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    const bool hides = args.at(1) == u"hides";

    QuitSequence *sequence = nullptr;
    QuitSequence::Steps steps;
    steps.saveSettings = [] {
        say("save");
    };
    steps.closeWindows = [] {
        say("close");
    };
    steps.readyCharacter = [] {
        say("ready");
    };
    steps.stopTimers = [] {
        say("timers");
    };
    steps.sayGoodbye = [] {
        say("goodbye");
    };
    steps.hideCharacters = [&] {
        say("hide");
        if (hides)
            QTimer::singleShot(std::chrono::milliseconds(100), &app,
                               [&] { sequence->hideEvent(); });
    };
    steps.characterCount = [] {
        return 1;
    };
    steps.endProgram = [] {
        say("end");
        QCoreApplication::exit(0);
    };
    QuitSequence quit(steps);
    sequence = &quit;
    quit.setGrace(std::chrono::milliseconds(args.at(2).toInt()));

    UnixSignalWatcher watcher;
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP})
        watcher.watch(signalNumber);
    QObject::connect(&watcher, &UnixSignalWatcher::signalReceived, &quit,
                     &QuitSequence::sessionEnding);
    QTimer::singleShot(std::chrono::milliseconds::zero(), &app, [] { say("running"); });
    return app.exec();
}
