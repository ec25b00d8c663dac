#include "app/FrmMain.h"

#include "base/AppPaths.h"
#include "base/Language.h"
#include "reminders/AlarmStore.h"
#include "reminders/ReminderCharacter.h"
#include "support/TempHome.h"

#include <QSignalSpy>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

struct TimerRow
{
    const char *name;
    std::chrono::milliseconds interval;
    bool runsAtStart;
};

class FrmMainTimers : public ::testing::TestWithParam<TimerRow>
{
protected:
    TempHome home;
    AlarmStore store;
    FrmMain main{store, ReminderCharacter::silent()};
};

TEST_P(FrmMainTimers, ownsEachTimerWithItsIntervalAndStart)
{
    const TimerRow &row = GetParam();
    QTimer *timer = main.timer(QString::fromLatin1(row.name));
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->intervalAsDuration(), row.interval);
    main.startTimers();
    EXPECT_EQ(timer->isActive(), row.runsAtStart);
    main.stopTimers();
    EXPECT_FALSE(timer->isActive());
}

INSTANTIATE_TEST_SUITE_P(
        Table, FrmMainTimers,
        ::testing::Values(TimerRow{"TmrAlarm", 1000ms, true},
                          TimerRow{"TmrDueCheck", 60000ms, true},
                          TimerRow{"TmrFollow", 4000ms, false}, TimerRow{"TmrHide", 60000ms, false},
                          TimerRow{"TmrMoveScr", 60000ms, true}, TimerRow{"TmrRead", 60000ms, true},
                          TimerRow{"TmrStop", 60000ms, false}, TimerRow{"TmrIdle", 60000ms, true}),
        [](const auto &info) { return std::string(info.param.name); });

TEST(FrmMain, eightTimersAndNoOther)
{
    TempHome home;
    AlarmStore store;
    FrmMain main{store, ReminderCharacter::silent()};
    EXPECT_EQ(FrmMain::timerNames().size(), 8);
    EXPECT_EQ(main.timer(QStringLiteral("TmrSnooze")), nullptr);
}

TEST(FrmMain, closingHidesAndTheProgramGoesOn)
{
    TempHome home;
    AlarmStore store;
    FrmMain main{store, ReminderCharacter::silent()};
    QSignalSpy hid(&main, &FrmMain::hidInsteadOfClosing);
    main.startTimers();
    main.showMain();
    ASSERT_TRUE(main.isVisible());

    EXPECT_FALSE(main.close());
    EXPECT_FALSE(main.isVisible());
    EXPECT_EQ(hid.count(), 1);
    EXPECT_TRUE(main.timer(QStringLiteral("TmrAlarm"))->isActive());

    main.showMain();
    main.setClosable(true);
    EXPECT_TRUE(main.close());
    EXPECT_EQ(hid.count(), 1);
}

TEST(FrmMain, languageAndGeometryFitTheControls)
{
    TempHome home;
    AppPaths::seedProgramFolder();
    ASSERT_TRUE(LoadLanguage(QStringLiteral("English.lang")));
    AlarmStore store;
    FrmMain main{store, ReminderCharacter::silent()};
    main.prepareEntryFields();
    main.applyGeometry();
    main.applyLanguage();
    EXPECT_GE(main.width(), main.minimumSizeHint().width());
    EXPECT_GE(main.height(), main.minimumSizeHint().height());
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Reminders"));
}

} // namespace
