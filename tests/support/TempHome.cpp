#include "support/TempHome.h"

#include "platform/AutostartEntry.h"
#include "platform/RegistryStore.h"
#include "settings/SettingsStore.h"

TempHome::TempHome()
    : m_previous(qgetenv("QUILLOMI_HOME"))
{
    qputenv("QUILLOMI_HOME", m_dir.path().toUtf8());
    SettingsStore::useUserFiles();
}

TempHome::~TempHome()
{
    RegistryStore::resetGlobal();
    if (m_previous.isEmpty())
        qunsetenv("QUILLOMI_HOME");
    else
        qputenv("QUILLOMI_HOME", m_previous);
    RegistryStore::setGlobalFile(QString());
    AutostartEntry::setFile(QString());
}
