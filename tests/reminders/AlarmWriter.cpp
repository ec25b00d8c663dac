// Saves the reminders over and over, each round with new messages, until it is killed.
#include "reminders/AlarmStore.h"
#include "reminders/ClsAlarm.h"
#include "settings/SettingsStore.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    SettingsStore::useUserFiles();
    const int count = QCoreApplication::arguments().value(1).toInt();
    SettingsStore settings;
    AlarmStore store;
    store.LoadAlarms(settings); // takes up the unreadable record the test planted
    for (int i = 0; i < count; ++i)
        store.AddAlarm(std::make_unique<ClsAlarm>(), AlarmStore::NewKey());
    for (int round = 0;; ++round) {
        for (int i = 0; i < store.count(); ++i)
            store.at(i)->MyMsg = QStringLiteral("round %1").arg(round);
        if (!store.SaveAlarms(settings))
            return 1;
        if (round == 0) {
            std::puts("ready");
            std::fflush(stdout);
        }
    }
}
