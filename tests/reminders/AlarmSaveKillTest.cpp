#include "platform/RegistryStore.h"
#include "reminders/AlarmStore.h"
#include "reminders/ClsAlarm.h"
#include "settings/SettingsStore.h"
#include "support/TempHome.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// A writer saves 2,000 reminders in a loop and is killed at random instants: what loads
// afterwards is always one whole round, and the unreadable record is still kept.
TEST(AlarmSaveKill, KillDuringSaveLeavesOneWholeRound)
{
    TempHome home;
    constexpr int count = 2000;
    const QString broken = QStringLiteral("not|a|reminder");
    SettingsStore(&RegistryStore::global())
            .save(SettingsStore::AppName, AlarmStore::Section, QStringLiteral("1"), broken);
    RegistryStore::resetGlobal();

    QRandomGenerator random(20261206);
    for (int round = 0; round < 8; ++round) {
        QProcess writer;
        writer.start(QStringLiteral(ALARM_WRITER_PATH), {QString::number(round ? 0 : count)});
        ASSERT_TRUE(writer.waitForStarted());
        while (!writer.canReadLine())
            ASSERT_TRUE(writer.waitForReadyRead(30000)) << writer.readAllStandardError().data();
        QThread::usleep(random.bounded(1, 150'000));
        writer.kill();
        ASSERT_TRUE(writer.waitForFinished());

        RegistryStore::resetGlobal();
        AlarmStore store;
        ASSERT_TRUE(store.LoadAlarms());
        ASSERT_EQ(store.count(), count) << "round " << round;
        QSet<QString> messages;
        for (int i = 0; i < store.count(); ++i)
            messages.insert(store.at(i)->MyMsg);
        EXPECT_EQ(messages.size(), 1) << "round " << round;
        EXPECT_EQ(store.unreadable(), QStringList{broken});
    }
}

} // namespace
