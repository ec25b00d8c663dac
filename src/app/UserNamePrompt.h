#pragma once

#include <QString>

// The name question of the first start: an input box proposing `proposed`. The answer, or
// an empty text when the user cancels. Installed as SettingsHooks::askUserName.
QString PromptUserName(const QString &proposed);
