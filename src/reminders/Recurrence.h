#pragma once

#include <QDate>

class ClsAlarm;

// Does a reminder fall on a given day? Occurrences are never listed ahead: the question is
// asked afresh every day. The time of day is not part of it.
bool IsDueToday(const ClsAlarm &alarm, const QDate &today);
// The same for the clock's today.
bool IsDueToday(const ClsAlarm &alarm);

// The weekly test: the week count since the first day is a multiple of the week step and
// today's weekday is chosen.
bool IsWeekdayMatch(const ClsAlarm &alarm, const QDate &today);
bool IsWeekdayMatch(const ClsAlarm &alarm);

namespace Recurrence {
// Sundays after `from` up to and including `to` (weeks start on Sunday).
qint64 weekCount(const QDate &from, const QDate &to);
qint64 monthCount(const QDate &from, const QDate &to);
} // namespace Recurrence
