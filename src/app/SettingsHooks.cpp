#include "app/SettingsHooks.h"

SettingsHooks &settingsHooks()
{
    static SettingsHooks hooks;
    return hooks;
}
