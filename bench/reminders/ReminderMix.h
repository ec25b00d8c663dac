#pragma once

#include "reminders/AlarmStore.h"
#include "reminders/ClsAlarm.h"

#include <QDate>

// A realistic mix of `count` reminders, dated around `first`: one-day reminders, and
// weekly, monthly and yearly ones, with times spread over the day.
inline void fillReminders(AlarmStore &store, int count, const QDate &first, int days)
{
    for (int i = 0; i < count; ++i) {
        auto alarm = std::make_unique<ClsAlarm>();
        alarm->MyDate = first.addDays(i % days);
        alarm->MyTime = QTime(8, 0).addSecs((i % 600) * 60);
        alarm->MyRecurrence = i % 4;
        alarm->MySubj = QStringLiteral("Subject %1").arg(i);
        alarm->MyMsg = QStringLiteral("Message number %1 with www.example.org").arg(i);
        alarm->setWeekDay(1 + i % 7, true);
        store.AddAlarm(std::move(alarm), AlarmStore::NewKey());
    }
}
