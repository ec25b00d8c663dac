// A tiny program for the single-instance tests: runs the instance check in a runtime folder
// and prints the outcome; with "hold" a first copy keeps serving and prints each command.
#include "platform/SingleInstance.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    const bool hold = args.at(1) == u"hold";
    SingleInstance instance(args.at(2));
    const auto say = [](const QByteArray &line) {
        std::fputs(line.constData(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    };
    switch (instance.check()) {
    case SingleInstance::Outcome::FirstCopy:
        say("first");
        break;
    case SingleInstance::Outcome::AnotherCopyAnswered:
        say("answered");
        return 0;
    case SingleInstance::Outcome::AnotherCopyRunning:
        say("running");
        return 0;
    }
    if (!hold)
        return 0;
    QObject::connect(&instance, &SingleInstance::commandReceived, &app,
                     [say](const QString &command) { say("command:" + command.toUtf8()); });
    return app.exec();
}
