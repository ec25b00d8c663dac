#include "reminders/DueChecker.h"

#include "reminders/AlarmStore.h"
#include "reminders/ClsAlarm.h"
#include "support/FixedClock.h"

#include <gtest/gtest.h>

namespace {

struct Announcement
{
    QString spoken;
    QString shown;
    QString key;
};

class DueCheckerTest : public testing::Test
{
protected:
    QString add(const QDate &date, const QTime &time, int recurrence = ClsAlarm::None,
                const QString &msg = QStringLiteral("Call Ann"))
    {
        auto alarm = std::make_unique<ClsAlarm>();
        alarm->MyDate = date;
        alarm->MyTime = time;
        alarm->MyRecurrence = recurrence;
        alarm->MyMsg = msg;
        alarm->MySubj = QStringLiteral("Phone");
        alarm->setWeekDay(ClsAlarm::weekDayOf(date), true);
        const QString key = AlarmStore::NewKey();
        store.AddAlarm(std::move(alarm), key);
        return key;
    }

    FixedClock clock{QDateTime(QDate(2026, 12, 5), QTime(10, 29, 0))};
    AlarmStore store;
    QList<Announcement> heard;
    DueChecker checker{store, [this](const QString &s, const QString &p, const QString &k) {
                           heard.append({s, p, k});
                       }};
};

TEST_F(DueCheckerTest, FiresInTheFirstTickOneToFiftyNineSecondsAfterItsTime)
{
    add(QDate(2026, 12, 5), QTime(10, 30, 0));
    const struct
    {
        QTime at;
        bool fires;
    } ticks[] = {{QTime(10, 29, 59), false}, {QTime(10, 30, 0), false}, {QTime(10, 30, 1), true},
                 {QTime(10, 30, 59), true},  {QTime(10, 31, 0), false}, {QTime(10, 45, 0), false}};
    for (const auto &tick : ticks) {
        heard.clear();
        clock.set(QDateTime(QDate(2026, 12, 5), tick.at));
        checker.CheckReminders();
        EXPECT_EQ(heard.size(), tick.fires ? 1 : 0) << tick.at.toString().toStdString();
    }
    clock.set(QDateTime(QDate(2026, 12, 6), QTime(10, 30, 5)));
    heard.clear();
    checker.CheckReminders();
    EXPECT_TRUE(heard.isEmpty()) << "a one-day reminder is not due the next day";
}

TEST_F(DueCheckerTest, TwoAtTheSameMinuteFireInOneTickLaterRecordFirst)
{
    const QString first = add(QDate(2026, 12, 5), QTime(23, 59, 0));
    const QString second = add(QDate(2026, 12, 5), QTime(23, 59, 0));
    clock.set(QDateTime(QDate(2026, 12, 5), QTime(23, 59, 1)));
    checker.CheckReminders();
    ASSERT_EQ(heard.size(), 2);
    EXPECT_EQ(heard[0].key, second);
    EXPECT_EQ(heard[1].key, first);
}

// The tick looks only at the day's reminders by time: what changes between ticks counts.
TEST_F(DueCheckerTest, FollowsRecordsAddedChangedAndRemovedBetweenTicks)
{
    const QDate day(2026, 12, 5);
    const QString moved = add(day, QTime(10, 30, 0));
    clock.set(QDateTime(day, QTime(10, 0, 0)));
    checker.CheckReminders();
    store.find(moved)->MyTime = QTime(10, 5, 0);
    store.notifyChanged(moved);
    const QString added = add(day, QTime(10, 5, 0));

    clock.set(QDateTime(day, QTime(10, 5, 10)));
    checker.CheckReminders();
    ASSERT_EQ(heard.size(), 2);
    EXPECT_EQ(heard[0].key, added);
    EXPECT_EQ(heard[1].key, moved);

    store.RemoveAlarm(added);
    heard.clear();
    clock.set(QDateTime(day, QTime(10, 5, 20)));
    checker.CheckReminders();
    ASSERT_EQ(heard.size(), 1);
    EXPECT_EQ(heard[0].key, moved);
}

TEST_F(DueCheckerTest, AnnouncementTexts)
{
    add(QDate(2026, 12, 5), QTime(15, 4, 0));
    clock.set(QDateTime(QDate(2026, 12, 5), QTime(15, 4, 30)));
    checker.CheckReminders();
    ASSERT_EQ(heard.size(), 1);
    EXPECT_EQ(heard[0].shown, QStringLiteral("There is a reminder for you.\r\n"
                                             "Date is December 05 2026 , Saturday\r\n"
                                             "Time is 03:04 PM\r\n"
                                             "Subject : Phone\r\n"
                                             "Message : Call Ann"));
    EXPECT_EQ(heard[0].spoken, QStringLiteral("There is a reminder for you.\r\n"
                                              "Date is December 05 2026 , Saturday\r\n"
                                              "Time is 03:04 PM\r\n"
                                              "Message : Call Ann"));
}

TEST_F(DueCheckerTest, ATickDuringACheckReturnsAtOnce)
{
    add(QDate(2026, 12, 5), QTime(10, 30, 0));
    clock.set(QDateTime(QDate(2026, 12, 5), QTime(10, 30, 1)));
    int nested = 0;
    DueChecker reentrant(store, [&](const QString &, const QString &, const QString &) {
        ++nested;
        EXPECT_TRUE(reentrant.isBusy());
        reentrant.CheckReminders(); // a tick delivered while speaking
    });
    reentrant.CheckReminders();
    EXPECT_EQ(nested, 1);
    EXPECT_FALSE(reentrant.isBusy());
}

TEST_F(DueCheckerTest, DismissRemovesOneTimeAndKeepsRecurring)
{
    const QString once = add(QDate(2026, 12, 5), QTime(10, 30, 0));
    const QString weekly = add(QDate(2026, 12, 5), QTime(10, 30, 0), ClsAlarm::Weekly);
    checker.DismissAlarm(weekly);
    checker.DismissAlarm(once);
    checker.DismissAlarm(QStringLiteral("i-missing"));
    EXPECT_EQ(store.find(once), nullptr);
    ASSERT_NE(store.find(weekly), nullptr);
    EXPECT_TRUE(store.find(weekly)->MyAlarmPop);

    clock.set(QDateTime(QDate(2026, 12, 5), QTime(10, 30, 3)));
    checker.CheckReminders();
    EXPECT_TRUE(heard.isEmpty()) << "a dismissed recurring reminder does not fire again";
}

struct PastDueCase
{
    const char *name;
    QDate date;
    QTime time;
    int recurrence;
    QDateTime now;
    bool pastDue;
};

void PrintTo(const PastDueCase &c, std::ostream *os)
{
    *os << c.name;
}

class PastDueTest : public testing::TestWithParam<PastDueCase>
{
};

TEST_P(PastDueTest, Marks)
{
    const PastDueCase &c = GetParam();
    FixedClock clock(c.now);
    ClsAlarm alarm;
    alarm.MyDate = c.date;
    alarm.MyTime = c.time;
    alarm.MyRecurrence = c.recurrence;
    alarm.setWeekDay(ClsAlarm::weekDayOf(c.date), true);
    EXPECT_EQ(DueChecker::isPastDue(alarm, c.now), c.pastDue);
}

const QDate Sat(2026, 12, 5);
const PastDueCase pastDueCases[] = {
        {"TodayOneMinuteAgo", Sat, QTime(10, 30), 0, QDateTime(Sat, QTime(10, 31, 59)), false},
        {"TodayTwoMinuteBoundaries", Sat, QTime(10, 30, 59), 0, QDateTime(Sat, QTime(10, 32)),
         true},
        {"TodayLaterToday", Sat, QTime(23, 59), 0, QDateTime(Sat, QTime(10, 0)), false},
        {"OneTimeYesterday", Sat, QTime(10, 30), 0, QDateTime(Sat.addDays(1), QTime(9, 0)), false},
        {"OneTimeTwoDaysAgo", Sat, QTime(10, 30), 0, QDateTime(Sat.addDays(2), QTime(9, 0)), true},
        {"RecurringPassedToday", Sat, QTime(8, 0), 1, QDateTime(Sat.addDays(7), QTime(9, 0)), true},
        {"RecurringNotTodayLongAgo", Sat, QTime(8, 0), 1, QDateTime(Sat.addDays(9), QTime(9, 0)),
         false},
        {"FutureOneTime", Sat.addDays(3), QTime(8, 0), 0, QDateTime(Sat, QTime(9, 0)), false},
};

INSTANTIATE_TEST_SUITE_P(Rules, PastDueTest, testing::ValuesIn(pastDueCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(DueCheckerTest, PastDueKeysComeLastRecordFirst)
{
    const QString a = add(QDate(2026, 12, 1), QTime(8, 0));
    add(QDate(2026, 12, 5), QTime(23, 0));
    const QString c = add(QDate(2026, 12, 2), QTime(8, 0));
    EXPECT_EQ(checker.pastDueKeys(QDateTime(QDate(2026, 12, 5), QTime(12, 0))),
              (QStringList{c, a}));
}

} // namespace
