#include "reminders/AlarmStore.h"

#include "base/Clock.h"
#include "platform/RegistryStore.h"
#include "reminders/ClsAlarm.h"
#include "settings/SettingsStore.h"

const QString AlarmStore::Section = QStringLiteral("Alarm");
const QString AlarmStore::UnreadableSection = QStringLiteral("AlarmUnreadable");

AlarmStore::AlarmStore(QObject *parent)
    : QObject(parent)
{}

AlarmStore::~AlarmStore() = default;

QString AlarmStore::NewKey()
{
    static quint64 next = 0;
    return u'i' + QString::number(++next);
}

void AlarmStore::ClearAlarms()
{
    ++m_revision;
    m_byKey.clear();
    m_records.clear();
}

ClsAlarm *AlarmStore::AddAlarm(std::unique_ptr<ClsAlarm> record, const QString &key)
{
    ClsAlarm *added = record.get();
    added->MyAlarmKey = key;
    m_records.push_back(std::move(record));
    m_byKey.insert(key, added);
    ++m_revision;
    emit alarmAdded(key);
    return added;
}

bool AlarmStore::RemoveAlarm(const QString &key)
{
    // A copy: the caller may pass the record's own key, which goes with the record.
    const QString removed = key;
    ClsAlarm *record = m_byKey.take(removed);
    if (!record)
        return false;
    std::erase_if(m_records, [record](const auto &r) { return r.get() == record; });
    ++m_revision;
    emit alarmRemoved(removed);
    return true;
}

ClsAlarm *AlarmStore::find(const QString &key) const
{
    return m_byKey.value(key);
}

void AlarmStore::notifyChanged(const QString &key)
{
    if (!m_byKey.contains(key))
        return;
    ++m_revision;
    emit alarmChanged(key);
}

bool AlarmStore::LoadAlarms()
{
    SettingsStore settings;
    return LoadAlarms(settings);
}

bool AlarmStore::LoadAlarms(SettingsStore &settings)
{
    ClearAlarms();
    m_unreadable.clear();
    if (!settings.registry().isOpen()) {
        emit alarmsLoaded();
        return false;
    }
    // Earlier unreadable records are tried again: a later version may read them.
    auto entries = settings.all(SettingsStore::AppName, Section);
    entries += settings.all(SettingsStore::AppName, UnreadableSection);
    m_inStep = true;
    const QDateTime now = Clock::currentDateTime();
    for (const auto &entry : std::as_const(entries)) {
        auto record = std::make_unique<ClsAlarm>(now);
        if (!record->OpenAlarm(entry.second)) {
            if (!m_unreadable.contains(entry.second))
                m_unreadable << entry.second;
            continue;
        }
        const QString key = NewKey();
        record->MyAlarmKey = key;
        m_byKey.insert(key, record.get());
        m_records.push_back(std::move(record));
    }
    ++m_revision;
    emit alarmsLoaded();
    return true;
}

bool AlarmStore::SaveAlarms() const
{
    SettingsStore settings;
    return SaveAlarms(settings);
}

bool AlarmStore::SaveAlarms(SettingsStore &settings) const
{
    // A store that never read the stored reminders (a save before the first load, as when
    // the session ends during start-up) must not write its empty list over them.
    if (!m_inStep && !(settings.all(SettingsStore::AppName, Section).isEmpty() &&
                       settings.all(SettingsStore::AppName, UnreadableSection).isEmpty())) {
        m_saveError = QStringLiteral("the stored reminders have not been read yet");
        qWarning("The reminders were not saved: %s.", qPrintable(m_saveError));
        return false;
    }
    const auto numbered = [](const QStringList &texts) {
        SettingsStore::Entries entries;
        entries.reserve(texts.size());
        for (qsizetype i = 0; i < texts.size(); ++i)
            entries.append({QString::number(i + 1), texts[i]});
        return entries;
    };
    const auto write = [&settings](const QString &section, const SettingsStore::Entries &e) {
        if (e.isEmpty())
            return settings.deleteSection(SettingsStore::AppName, section);
        return settings.replaceSection(SettingsStore::AppName, section, e);
    };
    QStringList texts;
    texts.reserve(count());
    for (const auto &record : m_records)
        texts << record->SaveAlarm();
    const bool saved = settings.registry().transaction([&] {
        return write(Section, numbered(texts)) && write(UnreadableSection, numbered(m_unreadable));
    });
    m_inStep = m_inStep || saved;
    if (saved) {
        m_saveError.clear();
    } else {
        const QString reason = settings.registry().lastError();
        m_saveError = settings.registry().file() + QStringLiteral(": ") +
                      (reason.isEmpty() ? QStringLiteral("the file could not be written") : reason);
        qWarning("The reminders were not saved to %s", qPrintable(m_saveError));
    }
    return saved;
}
