#include "reminders/Recurrence.h"

#include "base/Clock.h"
#include "reminders/ClsAlarm.h"

namespace Recurrence {

qint64 weekCount(const QDate &from, const QDate &to)
{
    // Map each day to the Sunday on or before it; the Sundays after `from` up to `to` are
    // then the whole weeks between those two Sundays.
    const auto sundayOnOrBefore = [](const QDate &d) {
        return d.addDays(-(d.dayOfWeek() % 7));
    };
    return sundayOnOrBefore(from).daysTo(sundayOnOrBefore(to)) / 7;
}

qint64 monthCount(const QDate &from, const QDate &to)
{
    return (qint64(to.year()) * 12 + to.month()) - (qint64(from.year()) * 12 + from.month());
}

} // namespace Recurrence

bool IsWeekdayMatch(const ClsAlarm &alarm, const QDate &today)
{
    // A week step below 1 has no meaning: such a reminder is never due.
    if (alarm.MyRecurrenceWeekNum < 1)
        return false;
    const qint64 weeks = Recurrence::weekCount(alarm.MyDate, today);
    if (weeks % alarm.MyRecurrenceWeekNum != 0)
        return false;
    return alarm.MyRecurrenceWeekDays[ClsAlarm::weekDayOf(today)];
}

bool IsWeekdayMatch(const ClsAlarm &alarm)
{
    return IsWeekdayMatch(alarm, Clock::currentDate());
}

bool IsDueToday(const ClsAlarm &alarm, const QDate &today)
{
    const QDate &first = alarm.MyDate;
    if (!first.isValid() || !today.isValid())
        return false;
    const qint64 days = first.daysTo(today);
    if (alarm.MyRecurrence == ClsAlarm::None)
        return days == 0;
    if (days < 0)
        return false;

    qint64 periods = 0;
    switch (alarm.MyRecurrence) {
    case ClsAlarm::Weekly:
        if (!IsWeekdayMatch(alarm, today))
            return false;
        periods = Recurrence::weekCount(first, today);
        break;
    case ClsAlarm::Monthly:
        if (today.day() != first.day())
            return false;
        periods = Recurrence::monthCount(first, today);
        break;
    case ClsAlarm::Yearly:
        if (today.day() != first.day() || today.month() != first.month())
            return false;
        periods = today.year() - first.year();
        break;
    default:
        return false;
    }

    switch (alarm.MyRecurrenceEnd) {
    case ClsAlarm::EndNever:
        return true;
    case ClsAlarm::EndAfterPeriods:
        return periods < alarm.MyRecurrenceEndNum;
    case ClsAlarm::EndOnDate:
        return alarm.MyRecurrenceEndDate.isValid() && today.daysTo(alarm.MyRecurrenceEndDate) > 0;
    default:
        return false;
    }
}

bool IsDueToday(const ClsAlarm &alarm)
{
    return IsDueToday(alarm, Clock::currentDate());
}
