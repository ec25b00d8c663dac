#include "settings/SettingsStore.h"

#include "base/AppPaths.h"
#include "platform/AutostartEntry.h"
#include "platform/RegistryStore.h"

const QString SettingsStore::AppName = QStringLiteral("::: Quillomi :::\\1");
const QString SettingsStore::SharedAppName = QStringLiteral("::: Brindle :::\\1");
const QString SettingsStore::BasePath =
        QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings");

SettingsStore::SettingsStore(RegistryStore *store)
    : m_store(store ? store : &RegistryStore::global())
{}

void SettingsStore::useUserFiles()
{
    RegistryStore::setGlobalFile(AppPaths::settingsFile());
    AutostartEntry::setFile(AppPaths::autostartFile());
}

QString SettingsStore::applicationPath(const QString &application)
{
    return BasePath + u'\\' + application;
}

QString SettingsStore::sectionPath(const QString &application, const QString &section)
{
    return applicationPath(application) + u'\\' + section;
}

QString SettingsStore::get(const QString &application, const QString &section, const QString &key,
                           const QString &defaultValue) const
{
    const auto value = m_store->value(sectionPath(application, section), key);
    return value ? value->toText() : defaultValue;
}

bool SettingsStore::save(const QString &application, const QString &section, const QString &key,
                         const QString &text)
{
    const QString path = sectionPath(application, section);
    return m_store->transaction([&] {
        return m_store->createKey(path) && m_store->setValue(path, RegValue::string(key, text));
    });
}

SettingsStore::Entries SettingsStore::all(const QString &application, const QString &section) const
{
    Entries entries;
    for (const RegValue &value : m_store->values(sectionPath(application, section)))
        entries.append({value.name, value.toText()});
    return entries;
}

bool SettingsStore::deleteSection(const QString &application, const QString &section)
{
    return m_store->deleteKey(sectionPath(application, section));
}

bool SettingsStore::deleteApplication(const QString &application)
{
    return m_store->deleteKey(applicationPath(application));
}

bool SettingsStore::replaceSection(const QString &application, const QString &section,
                                   const Entries &entries)
{
    QList<RegValue> values;
    values.reserve(entries.size());
    for (const auto &[key, text] : entries)
        values << RegValue::string(key, text);
    return m_store->replaceValues(sectionPath(application, section), values);
}
