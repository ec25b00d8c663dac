// The event loop's longest block in the reminder windows: texts of a megabyte (a message
// without spaces, one of distinct mail addresses) and a list of 10,000 reminders.
// Target: under 50 ms a step; adding one reminder to 10,000 under 20 ms.
#include "ReminderMix.h"
#include "reminders/AlarmLinks.h"
#include "reminders/AlarmStore.h"
#include "reminders/ClsAlarm.h"
#include "reminders/FrmAlarm.h"
#include "reminders/ReminderCharacter.h"
#include "reminders/ReminderPanel.h"
#include "settings/SettingsStore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>
#include <functional>

namespace {

constexpr int Megabyte = 1 << 20;

QString withoutSpaces()
{
    return QString(Megabyte, u'x');
}

QString distinctAddresses()
{
    QString text;
    text.reserve(Megabyte + 64);
    for (int i = 0; text.size() < Megabyte; ++i)
        text += QStringLiteral("user%1@example.org ").arg(i);
    return text;
}

// Runs `work` from the event loop and returns the longest time the loop did not get round
// to a 1 ms timer, in milliseconds, until `done` holds (or 20 s have passed).
double longestBlock(const std::function<void()> &work, const std::function<bool()> &done)
{
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    QTimer watchdog;
    watchdog.setInterval(1);
    QObject::connect(&watchdog, &QTimer::timeout, &watchdog, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    clock.start();
    watchdog.start();
    QTimer::singleShot(0, &watchdog, work);
    QElapsedTimer limit;
    limit.start();
    while (!(done() && limit.elapsed() > 200) && limit.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return double(longest) / 1e6;
}

void report(const char *what, double ms)
{
    std::printf("%-52s %10.1f ms %s\n", what, ms, ms < 50 ? "" : "(over 50 ms)");
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

    for (const auto &[name, text] :
         {std::pair{"1 MB without spaces", withoutSpaces()},
          std::pair{"1 MB of distinct mail addresses", distinctAddresses()}}) {
        std::printf("%s\n", name);
        QElapsedTimer timer;
        timer.start();
        const QString html = AlarmLinks::linkedHtml(text);
        report("  link builder", double(timer.nsecsElapsed()) / 1e6);

        AlarmStore store;
        store.LoadAlarms();
        auto alarm = std::make_unique<ClsAlarm>();
        alarm->MyMsg = text;
        alarm->MySubj = QStringLiteral("Long");
        const QString key = store.AddAlarm(std::move(alarm), AlarmStore::NewKey())->MyAlarmKey;
        std::unique_ptr<ReminderPanel> panel;
        report("  reminder list with the message shown",
               longestBlock(
                       [&] {
                           panel = std::make_unique<ReminderPanel>(store,
                                                                   ReminderCharacter::silent());
                           panel->resize(900, 600);
                           panel->show();
                       },
                       [&] { return panel && panel->isVisible(); }));
        FrmAlarm *popup = nullptr;
        report("  pop-up showing the message", longestBlock(
                                                       [&] {
                                                           popup = new FrmAlarm(panel.get());
                                                           popup->myKey = key;
                                                           popup->ShowAlarm(text);
                                                       },
                                                       [&] {
                                                           return popup && popup->isVisible() &&
                                                                  popup->heightTwips() >=
                                                                          FrmAlarm::DesignHeight;
                                                       }));
        delete popup;
        timer.restart();
        store.SaveAlarms();
        report("  saving it", double(timer.nsecsElapsed()) / 1e6);
    }

    std::printf("10,000 reminders\n");
    AlarmStore store;
    store.LoadAlarms();
    fillReminders(store, 10000, QDate::currentDate().addDays(-20), 40);
    store.SaveAlarms();
    ReminderPanel panel(store, ReminderCharacter::silent());
    panel.resize(900, 600);
    panel.show();
    report("  first past-due check (marks the rows)",
           longestBlock([&] { panel.CheckPastDue(); }, [] { return true; }));
    report("  the next one (nothing changed)",
           longestBlock([&] { panel.CheckPastDue(); }, [] { return true; }));
    report("  adding one reminder (the whole list saved)",
           longestBlock(
                   [&] {
                       panel.findChild<QLineEdit *>(QStringLiteral("AlarmSubject"))->setText("Tea");
                       panel.findChild<QPlainTextEdit *>(QStringLiteral("AlarmMsg"))
                               ->setPlainText("Brew");
                       panel.findChild<QPushButton *>(QStringLiteral("CmdAdd"))->click();
                   },
                   [] { return true; }));
    QElapsedTimer timer;
    timer.start();
    store.SaveAlarms();
    report("  saving the list alone", double(timer.nsecsElapsed()) / 1e6);
    return 0;
}
