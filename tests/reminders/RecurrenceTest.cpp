#include "reminders/Recurrence.h"

#include "reminders/ClsAlarm.h"
#include "support/FixedClock.h"

#include <gtest/gtest.h>

namespace {

struct DueCase
{
    const char *name;
    QDate first;
    int kind;
    QList<int> days; // weekdays 1 Sunday .. 7 Saturday
    int weekNum;
    int end;
    int endNum;
    QDate endDate;
    QDate today;
    bool due;
};

void PrintTo(const DueCase &c, std::ostream *os)
{
    *os << c.name;
}

ClsAlarm recordFor(const DueCase &c)
{
    FixedClock clock(QDateTime(QDate(2026, 1, 1), QTime(12, 0)));
    ClsAlarm alarm;
    alarm.MyDate = c.first;
    alarm.MyRecurrence = c.kind;
    alarm.MyRecurrenceWeekNum = c.weekNum;
    for (int day : c.days)
        alarm.setWeekDay(day, true);
    alarm.MyRecurrenceEnd = c.end;
    alarm.MyRecurrenceEndNum = c.endNum;
    alarm.MyRecurrenceEndDate = c.endDate;
    return alarm;
}

class IsDueTodayTest : public testing::TestWithParam<DueCase>
{
};

TEST_P(IsDueTodayTest, AnswersForTheDay)
{
    const DueCase &c = GetParam();
    EXPECT_EQ(IsDueToday(recordFor(c), c.today), c.due);
}

constexpr int Mon = 2, Tue = 3, Wed = 4, Thu = 5, Sat = 7, Sun = 1;
const QDate Dec2(2026, 12, 2); // a Wednesday
const QDate NoEnd;

// clang-format off
const DueCase dueCases[] = {
    // Every two weeks on Monday and Thursday from Wednesday 2 December 2026.
    {"BiweeklyWeek0Thursday", Dec2, 1, {Mon, Thu}, 2, 0, 1, NoEnd, QDate(2026, 12, 3), true},
    {"BiweeklyWeek1Monday", Dec2, 1, {Mon, Thu}, 2, 0, 1, NoEnd, QDate(2026, 12, 7), false},
    {"BiweeklyWeek2Monday", Dec2, 1, {Mon, Thu}, 2, 0, 1, NoEnd, QDate(2026, 12, 14), true},
    {"BiweeklyBeforeFirstDay", Dec2, 1, {Mon, Thu, Tue}, 2, 0, 1, NoEnd, QDate(2026, 12, 1), false},
    {"WeeklyUnchosenDay", Dec2, 1, {Mon, Thu}, 1, 0, 1, NoEnd, QDate(2026, 12, 8), false},
    {"WeeklyNoDaysNeverDue", Dec2, 1, {}, 1, 0, 1, NoEnd, QDate(2026, 12, 2), false},
    // Week count 2 across the year end: weeks ending 3 Jan and 10 Jan 2027.
    {"BiweeklyAcrossYearEnd", QDate(2026, 12, 30), 1, {Wed}, 2, 0, 1, NoEnd, QDate(2027, 1, 13), true},
    {"BiweeklyAcrossYearEndOddWeek", QDate(2026, 12, 30), 1, {Wed}, 2, 0, 1, NoEnd, QDate(2027, 1, 6), false},
    // A Sunday start: that Sunday is not counted, the next one is.
    {"SundayStartSameWeekSaturday", QDate(2026, 12, 6), 1, {Sat}, 2, 0, 1, NoEnd, QDate(2026, 12, 12), true},
    {"SundayStartNextSunday", QDate(2026, 12, 6), 1, {Sun}, 2, 0, 1, NoEnd, QDate(2026, 12, 13), false},
    {"WeekNumZeroNeverDue", Dec2, 1, {Wed}, 0, 0, 1, NoEnd, QDate(2026, 12, 2), false},
    {"WeekNumNegativeNeverDue", Dec2, 1, {Wed}, -3, 0, 1, NoEnd, QDate(2026, 12, 16), false},
    {"WeeklyEndAfterThreeWeeksPeriod2", Dec2, 1, {Wed}, 2, 1, 3, NoEnd, QDate(2026, 12, 16), true},
    {"WeeklyEndAfterThreeWeeksPeriod4", Dec2, 1, {Wed}, 2, 1, 3, NoEnd, QDate(2026, 12, 30), false},
    // Monthly on the 31st only in months that have one.
    {"Monthly31InJanuary", QDate(2026, 12, 31), 2, {}, 1, 0, 1, NoEnd, QDate(2027, 1, 31), true},
    {"Monthly31NotOnFeb28", QDate(2026, 12, 31), 2, {}, 1, 0, 1, NoEnd, QDate(2027, 2, 28), false},
    {"Monthly30NeverInLeapFebruary", QDate(2027, 1, 30), 2, {}, 1, 0, 1, NoEnd, QDate(2028, 2, 29), false},
    {"MonthlyBeforeStart", QDate(2026, 12, 15), 2, {}, 1, 0, 1, NoEnd, QDate(2026, 11, 15), false},
    {"MonthlyEndAfterTwoMonthsSecond", QDate(2026, 11, 15), 2, {}, 1, 1, 2, NoEnd, QDate(2026, 12, 15), true},
    {"MonthlyEndAfterTwoMonthsThird", QDate(2026, 11, 15), 2, {}, 1, 1, 2, NoEnd, QDate(2027, 1, 15), false},
    // Yearly on 29 February only in leap years.
    {"YearlyLeapDayIn2028", QDate(2024, 2, 29), 3, {}, 1, 0, 1, NoEnd, QDate(2028, 2, 29), true},
    {"YearlyLeapDayNotOnFeb28", QDate(2024, 2, 29), 3, {}, 1, 0, 1, NoEnd, QDate(2027, 2, 28), false},
    {"YearlyFirstDay", QDate(2026, 12, 5), 3, {}, 1, 1, 1, NoEnd, QDate(2026, 12, 5), true},
    {"YearlyEndAfterOneYear", QDate(2026, 12, 5), 3, {}, 1, 1, 1, NoEnd, QDate(2027, 12, 5), false},
    // End on a date: due strictly before it.
    {"EndDateTomorrow", QDate(2026, 11, 5), 2, {}, 1, 2, 1, QDate(2026, 12, 6), QDate(2026, 12, 5), true},
    {"EndDateToday", QDate(2026, 11, 5), 2, {}, 1, 2, 1, QDate(2026, 12, 5), QDate(2026, 12, 5), false},
    {"EndNumZeroNeverDue", QDate(2026, 11, 5), 2, {}, 1, 1, 0, NoEnd, QDate(2026, 11, 5), false},
    {"UnknownEndRule", QDate(2026, 11, 5), 2, {}, 1, 7, 1, NoEnd, QDate(2026, 12, 5), false},
    {"UnknownKind", QDate(2026, 11, 5), 9, {}, 1, 0, 1, NoEnd, QDate(2026, 11, 5), false},
    {"OneDayOnItsDay", QDate(2026, 12, 5), 0, {}, 1, 0, 1, NoEnd, QDate(2026, 12, 5), true},
    {"OneDayNextDay", QDate(2026, 12, 5), 0, {}, 1, 0, 1, NoEnd, QDate(2026, 12, 6), false},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Rules, IsDueTodayTest, testing::ValuesIn(dueCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(RecurrenceTest, WeekCountCountsSundaysAfterTheFirstDay)
{
    EXPECT_EQ(Recurrence::weekCount(QDate(2026, 12, 6), QDate(2026, 12, 6)), 0); // Sunday
    EXPECT_EQ(Recurrence::weekCount(QDate(2026, 12, 5), QDate(2026, 12, 6)), 1); // Sat->Sun
    EXPECT_EQ(Recurrence::weekCount(QDate(2026, 12, 2), QDate(2027, 1, 3)), 5);
    EXPECT_EQ(Recurrence::monthCount(QDate(2026, 12, 31), QDate(2027, 1, 1)), 1);
}

TEST(RecurrenceTest, DefaultTodayComesFromTheClock)
{
    FixedClock clock(QDateTime(QDate(2026, 12, 3), QTime(9, 0)));
    ClsAlarm alarm;
    alarm.MyDate = Dec2;
    alarm.MyRecurrence = ClsAlarm::Weekly;
    alarm.setWeekDay(Thu, true);
    EXPECT_TRUE(IsDueToday(alarm));
    EXPECT_TRUE(IsWeekdayMatch(alarm));
    clock.advanceDays(1);
    EXPECT_FALSE(IsDueToday(alarm));
}

} // namespace
