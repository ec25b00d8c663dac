#include "reminders/DueChecker.h"

#include "base/Clock.h"
#include "base/DateTimeText.h"
#include "reminders/AlarmStore.h"
#include "reminders/ClsAlarm.h"
#include "reminders/Recurrence.h"

#include <QScopeGuard>
#include <algorithm>

namespace {

const QString LineBreak = QStringLiteral("\r\n");

QString header(const ClsAlarm &alarm)
{
    return QStringLiteral("There is a reminder for you.") + LineBreak + QStringLiteral("Date is ") +
           DateTimeText::announceDate(alarm.MyDate) + LineBreak + QStringLiteral("Time is ") +
           DateTimeText::announceTime(alarm.MyTime) + LineBreak;
}

// Minute boundaries crossed from `from` to `to`, as whole clock minutes.
int minuteBoundaries(const QTime &from, const QTime &to)
{
    return (to.hour() * 60 + to.minute()) - (from.hour() * 60 + from.minute());
}

} // namespace

DueChecker::DueChecker(AlarmStore &store, Announce announce)
    : m_store(store)
    , m_announce(std::move(announce))
{}

QString DueChecker::popupText(const ClsAlarm &alarm)
{
    return header(alarm) + QStringLiteral("Subject : ") + alarm.MySubj + LineBreak +
           QStringLiteral("Message : ") + alarm.MyMsg;
}

QString DueChecker::spokenText(const ClsAlarm &alarm)
{
    return header(alarm) + QStringLiteral("Message : ") + alarm.MyMsg;
}

void DueChecker::CheckReminders()
{
    if (m_busy)
        return;
    m_busy = true;
    const auto done = qScopeGuard([this] { m_busy = false; });

    const QDateTime now = Clock::currentDateTime();
    const QDate today = now.date();
    const QTime time = now.time();

    if (today != m_indexedDay || m_store.revision() != m_indexedRevision)
        indexDay(today);

    // Collect first: announcing shows windows and speaks, and may let other events change
    // the store before it returns. Due: 1 to 59 seconds past the reminder's time.
    const int second = time.msecsSinceStartOfDay() / 1000;
    const auto first =
            std::lower_bound(m_dueToday.cbegin(), m_dueToday.cend(), second - 59,
                             [](const DueToday &entry, int value) { return entry.second < value; });
    std::vector<const DueToday *> window;
    for (auto it = first; it != m_dueToday.cend() && it->second <= second - 1; ++it)
        window.push_back(&*it);
    std::sort(window.begin(), window.end(),
              [](const DueToday *a, const DueToday *b) { return a->position > b->position; });
    QStringList due;
    for (const DueToday *entry : window) {
        const ClsAlarm *alarm = m_store.find(entry->key);
        if (alarm && !alarm->MyAlarmPop)
            due << entry->key;
    }
    for (const QString &key : std::as_const(due)) {
        const ClsAlarm *alarm = m_store.find(key);
        if (alarm && m_announce)
            m_announce(spokenText(*alarm), popupText(*alarm), key);
    }
}

void DueChecker::indexDay(const QDate &day)
{
    m_dueToday.clear();
    for (int i = 0; i < m_store.count(); ++i) {
        const ClsAlarm &alarm = *m_store.at(i);
        if (alarm.MyTime.isValid() && IsDueToday(alarm, day))
            m_dueToday.push_back({alarm.MyTime.msecsSinceStartOfDay() / 1000, i, alarm.MyAlarmKey});
    }
    std::sort(m_dueToday.begin(), m_dueToday.end(),
              [](const DueToday &a, const DueToday &b) { return a.second < b.second; });
    m_indexedDay = day;
    m_indexedRevision = m_store.revision();
}

void DueChecker::DismissAlarm(const QString &key)
{
    ClsAlarm *alarm = m_store.find(key);
    if (!alarm)
        return;
    alarm->MyAlarmPop = true;
    if (alarm->MyRecurrence == ClsAlarm::None)
        m_store.RemoveAlarm(key);
}

bool DueChecker::isPastDue(const ClsAlarm &alarm, const QDateTime &now)
{
    if (IsDueToday(alarm, now.date()))
        return minuteBoundaries(alarm.MyTime, now.time()) > 1;
    return alarm.MyRecurrence == ClsAlarm::None && alarm.MyDate.daysTo(now.date()) > 1;
}

QStringList DueChecker::pastDueKeys(const QDateTime &now) const
{
    QStringList keys;
    for (int i = m_store.count() - 1; i >= 0; --i) {
        if (isPastDue(*m_store.at(i), now))
            keys << m_store.at(i)->MyAlarmKey;
    }
    return keys;
}
