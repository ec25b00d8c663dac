#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class AlarmStore;
class ClsAlarm;

// The per-second reminder check, the past-due rule and dismissal, on the store alone.
class DueChecker final
{
public:
    // Opens the pop-up for `key` unless one is open, and has the character speak.
    using Announce =
            std::function<void(const QString &spoken, const QString &shown, const QString &key)>;

    DueChecker(AlarmStore &store, Announce announce);
    DueChecker(const DueChecker &) = delete;
    DueChecker &operator=(const DueChecker &) = delete;

    // The TmrAlarm tick: announces every reminder that is due today and whose time lies
    // 1 to 59 seconds back, the last record first. Returns at once while already running.
    void CheckReminders();
    bool isBusy() const { return m_busy; }

    // The pop-up's OK: the record has popped up; a one-time reminder leaves the store.
    void DismissAlarm(const QString &key);

    // Keys of the past-due reminders at `now`, the last record first.
    QStringList pastDueKeys(const QDateTime &now) const;
    static bool isPastDue(const ClsAlarm &alarm, const QDateTime &now);

    static QString popupText(const ClsAlarm &alarm);
    static QString spokenText(const ClsAlarm &alarm);

private:
    // The reminders due on one day, by their second of the day, so that a tick looks only
    // at the ones whose minute has come. Made again when the day or the records change.
    struct DueToday
    {
        int second;
        int position; // in the store: announcements go last record first
        QString key;
    };
    void indexDay(const QDate &day);

    AlarmStore &m_store;
    Announce m_announce;
    std::vector<DueToday> m_dueToday;
    QDate m_indexedDay;
    quint64 m_indexedRevision = 0;
    bool m_busy = false;
};
