#include "reminders/AlarmStore.h"

#include "platform/RegistryStore.h"
#include "reminders/ClsAlarm.h"
#include "settings/SettingsStore.h"
#include "support/FixedClock.h"
#include "support/TempHome.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

class AlarmStoreTest : public testing::Test
{
protected:
    static QString stored(int day, const QString &message)
    {
        return QStringLiteral("2026-12-%1|%2|Subject|10:30:00|0|1|False|False|False|False|False|"
                              "False|False|0|1|2026-12-05")
                .arg(day, 2, 10, QLatin1Char('0'))
                .arg(message);
    }

    TempHome home;
    FixedClock clock{QDateTime(QDate(2026, 12, 5), QTime(9, 0))};
    SettingsStore settings;
    AlarmStore store;
};

TEST_F(AlarmStoreTest, LoadsInWrittenOrderSoTenFollowsNineWithFreshKeys)
{
    for (int i = 1; i <= 12; ++i)
        settings.save(SettingsStore::AppName, AlarmStore::Section, QString::number(i),
                      stored(i, QStringLiteral("m%1").arg(i)));
    QSignalSpy loaded(&store, &AlarmStore::alarmsLoaded);
    ASSERT_TRUE(store.LoadAlarms(settings));
    EXPECT_EQ(loaded.count(), 1);
    ASSERT_EQ(store.count(), 12);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(store.at(i)->MyMsg, QStringLiteral("m%1").arg(i + 1));

    // Keys are unique and fresh at every load.
    const QString first = store.at(0)->MyAlarmKey;
    EXPECT_TRUE(first.startsWith(u'i'));
    EXPECT_NE(first, store.at(1)->MyAlarmKey);
    EXPECT_EQ(store.find(first), store.at(0));
    store.LoadAlarms(settings);
    EXPECT_NE(store.at(0)->MyAlarmKey, first);
    EXPECT_EQ(store.find(first), nullptr);
}

TEST_F(AlarmStoreTest, SaveRewritesTheSectionInStoreOrder)
{
    auto a = std::make_unique<ClsAlarm>();
    a->MyMsg = QStringLiteral("first");
    auto b = std::make_unique<ClsAlarm>();
    b->MyMsg = QStringLiteral("second|with bar");
    const QString keyA = AlarmStore::NewKey();
    store.AddAlarm(std::move(a), keyA);
    store.AddAlarm(std::move(b), AlarmStore::NewKey());
    ASSERT_TRUE(store.SaveAlarms(settings));

    const auto entries = settings.all(SettingsStore::AppName, AlarmStore::Section);
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0].first, QStringLiteral("1"));
    EXPECT_EQ(entries[1].first, QStringLiteral("2"));

    ASSERT_TRUE(store.RemoveAlarm(keyA));
    ASSERT_TRUE(store.SaveAlarms(settings));
    AlarmStore again;
    again.LoadAlarms(settings);
    ASSERT_EQ(again.count(), 1);
    EXPECT_EQ(again.at(0)->MyMsg, QStringLiteral("second|with bar"));
}

TEST_F(AlarmStoreTest, UnreadableRecordIsLeftOutButSurvivesTheNextSave)
{
    const QString broken = QStringLiteral("31.02.2026|lost?|s|xx|0");
    settings.save(SettingsStore::AppName, AlarmStore::Section, QStringLiteral("1"),
                  stored(5, QStringLiteral("good")));
    settings.save(SettingsStore::AppName, AlarmStore::Section, QStringLiteral("2"), broken);
    store.LoadAlarms(settings);
    ASSERT_EQ(store.count(), 1);
    EXPECT_EQ(store.unreadable(), QStringList{broken});

    ASSERT_TRUE(store.SaveAlarms(settings));
    EXPECT_EQ(settings.all(SettingsStore::AppName, AlarmStore::Section).size(), 1);
    const auto kept = settings.all(SettingsStore::AppName, AlarmStore::UnreadableSection);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(kept[0].second, broken);

    // Loading and saving again neither loses nor doubles it.
    store.LoadAlarms(settings);
    store.SaveAlarms(settings);
    EXPECT_EQ(settings.all(SettingsStore::AppName, AlarmStore::UnreadableSection).size(), 1);
}

TEST_F(AlarmStoreTest, QuarantinedRecordThatBecomesReadableRejoins)
{
    settings.save(SettingsStore::AppName, AlarmStore::UnreadableSection, QStringLiteral("1"),
                  stored(7, QStringLiteral("back")));
    store.LoadAlarms(settings);
    ASSERT_EQ(store.count(), 1);
    EXPECT_TRUE(store.unreadable().isEmpty());
    store.SaveAlarms(settings);
    EXPECT_EQ(settings.all(SettingsStore::AppName, AlarmStore::Section).size(), 1);
    EXPECT_TRUE(settings.all(SettingsStore::AppName, AlarmStore::UnreadableSection).isEmpty());
}

TEST_F(AlarmStoreTest, SavingNoRecordsRemovesTheSection)
{
    settings.save(SettingsStore::AppName, AlarmStore::Section, QStringLiteral("1"),
                  stored(5, QStringLiteral("a")));
    store.LoadAlarms(settings);
    store.RemoveAlarm(store.at(0)->MyAlarmKey);
    ASSERT_TRUE(store.SaveAlarms(settings));
    EXPECT_FALSE(settings.registry().keyExists(
            SettingsStore::sectionPath(SettingsStore::AppName, AlarmStore::Section)));
}

TEST_F(AlarmStoreTest, ASaveBeforeTheFirstLoadLeavesStoredRemindersAlone)
{
    settings.save(SettingsStore::AppName, AlarmStore::Section, QStringLiteral("1"),
                  stored(5, QStringLiteral("kept")));
    store.AddAlarm(std::make_unique<ClsAlarm>(), AlarmStore::NewKey());
    EXPECT_FALSE(store.SaveAlarms(settings));
    const auto entries = settings.all(SettingsStore::AppName, AlarmStore::Section);
    ASSERT_EQ(entries.size(), 1);
    EXPECT_TRUE(entries[0].second.contains(QStringLiteral("|kept|")));

    store.LoadAlarms(settings);
    store.AddAlarm(std::make_unique<ClsAlarm>(), AlarmStore::NewKey());
    EXPECT_TRUE(store.SaveAlarms(settings));
    EXPECT_EQ(settings.all(SettingsStore::AppName, AlarmStore::Section).size(), 2);
}

} // namespace
