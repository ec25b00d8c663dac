#include "support/TempHome.h"

#include "platform/RegistryStore.h"

TempHome::TempHome()
    : m_previous(qgetenv("QUILLOMI_HOME"))
{
    qputenv("QUILLOMI_HOME", m_dir.path().toUtf8());
    RegistryStore::resetGlobal();
}

TempHome::~TempHome()
{
    RegistryStore::resetGlobal();
    if (m_previous.isEmpty())
        qunsetenv("QUILLOMI_HOME");
    else
        qputenv("QUILLOMI_HOME", m_previous);
}
