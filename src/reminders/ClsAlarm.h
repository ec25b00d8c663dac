#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <array>

// One reminder: its day, time, subject, message and recurrence rule, plus two fields that
// live only for this run (its key and whether it has popped up).
class ClsAlarm final
{
public:
    // Sunday .. Saturday at 1 .. 7; element 0 carries no day.
    using WeekDays = std::array<bool, 8>;

    enum Recurrence { None = 0, Weekly = 1, Monthly = 2, Yearly = 3 };
    enum End { EndNever = 0, EndAfterPeriods = 1, EndOnDate = 2 };

    // Dates default to today and the time to now, both from the program's clock.
    ClsAlarm();
    // The same with "now" given, for making many records at once.
    explicit ClsAlarm(const QDateTime &now);

    // Fills the stored members from the stored text form; false (and nothing changed) when
    // any field cannot be read.
    bool OpenAlarm(const QString &text);
    // The stored text form: sixteen fields joined by "|".
    QString SaveAlarm() const;

    QString MyAlarmKey;
    bool MyAlarmPop = false;
    QDate MyDate;
    QTime MyTime;
    QString MyMsg;
    QString MySubj;
    qint32 MyRecurrence = None;
    qint32 MyRecurrenceWeekNum = 1;
    WeekDays MyRecurrenceWeekDays{};
    qint32 MyRecurrenceEnd = EndNever;
    qint32 MyRecurrenceEndNum = 1;
    QDate MyRecurrenceEndDate;

    // Sets weekday `day` (1 Sunday .. 7 Saturday); other numbers are ignored.
    void setWeekDay(int day, bool on);
    static int weekDayOf(const QDate &date); // 1 Sunday .. 7 Saturday
};
