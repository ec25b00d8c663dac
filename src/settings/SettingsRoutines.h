#pragma once

#include <QList>
#include <QString>

// Loading and saving the options, the first-run defaults and the start-up reads of the
// settings store. The steps that belong to the reminders, the character and the windows
// come through the hooks; every step goes on after a failure of its own.

struct SettingsHooks;

// Loads the reminders, the user's name (asking for it when there is none) and every option
// of section "Setting" into memory; prepares the character and sets its voice.
void LoadSettings(const SettingsHooks &hooks);

// Writes the reminders and the options in memory; with character rotation on, picks the
// character of the next start.
void SaveSettings(const SettingsHooks &hooks);

// Saves one character file, picked at random from the offered ones, as the next "Char".
void PickNextCharacter(const SettingsHooks &hooks);

// On the first run only (no "StRun"): clears the program's store, writes the first-run
// values in one transaction, the start-at-login value and the character component's two
// values, and sets FirstRun. True when it wrote them.
bool WriteFirstRunDefaults();

// Reads the characters folder from the store shared with the maker's other programs.
void ReadCharsDir();

// Reads "Lang" into LangInForce and LangChosen and loads that language file.
void ReadLanguage();

// The system's name for the logged-on user, at most 255 characters; "Buddy" when there is
// none.
QString GetLoginName();

// The account's full name for the name question: the first field of the account's comment
// ("Ada Lovelace,,,"); empty when there is none or it only repeats the login name.
QString GetFullName();
QString FullNameFromAccount(const QString &comment, const QString &login);

// One value of the first-run defaults.
struct FirstRunValue
{
    QString section;
    QString key;
    QString value;
};

// The first-run values of the store, in the order they are written.
QList<FirstRunValue> FirstRunValues();

// Registry paths of the values written beside the store at first run.
QString RunKeyPath();
QString AgentKeyPath();
