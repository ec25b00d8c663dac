#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class ClsAlarm;
class SettingsStore;

// The reminder store: every reminder of this run, keyed, in load-and-add order. The reminder
// list follows it through the signals; moving rows in the list does not change this order.
class AlarmStore final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AlarmStore)

public:
    // Section of the settings store holding one stored record per key "1".."N".
    static const QString Section;
    // Stored records that could not be read: kept here, word for word, so that no save
    // destroys them; every load tries them again.
    static const QString UnreadableSection;

    explicit AlarmStore(QObject *parent = nullptr);
    ~AlarmStore() override;

    // A key no other record of this run has had: "i" and a number.
    static QString NewKey();

    void ClearAlarms();
    // Takes the record, gives it the key and appends it; returns the record.
    ClsAlarm *AddAlarm(std::unique_ptr<ClsAlarm> record, const QString &key);
    bool RemoveAlarm(const QString &key);

    ClsAlarm *find(const QString &key) const;
    int count() const { return int(m_records.size()); }
    ClsAlarm *at(int index) const { return m_records[size_t(index)].get(); }
    // Tells the list that a record's members were changed in place.
    void notifyChanged(const QString &key);
    // Counts every change of the records (added, removed, loaded, changed in place), so
    // that what is derived from them knows when to derive again.
    quint64 revision() const { return m_revision; }

    // Reads the stored reminders; false when the store could not be read at all.
    bool LoadAlarms(SettingsStore &settings);
    bool LoadAlarms();
    // Writes every record (and the unreadable ones) as one step: a kill during the save
    // leaves the old or the new reminders.
    bool SaveAlarms(SettingsStore &settings) const;
    bool SaveAlarms() const;

    // Why the last save failed, for the user: the store's file and the reason.
    QString lastSaveError() const { return m_saveError; }

    // Stored texts that could not be read at the last load.
    QStringList unreadable() const { return m_unreadable; }

signals:
    void alarmsLoaded();
    void alarmAdded(const QString &key);
    void alarmRemoved(const QString &key);
    void alarmChanged(const QString &key);

private:
    std::vector<std::unique_ptr<ClsAlarm>> m_records;
    QHash<QString, ClsAlarm *> m_byKey;
    QStringList m_unreadable;
    // The stored reminders have been read or written by this store once.
    mutable bool m_inStep = false;
    mutable QString m_saveError;
    quint64 m_revision = 0;
};
