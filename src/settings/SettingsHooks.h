#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// The steps of LoadSettings and SaveSettings that belong to other parts of the program.
// The program owns one table and fills it at start-up; a step left empty is skipped.
struct SettingsHooks
{
    // Clears the reminder list and store and reads section "Alarm" again.
    std::function<void()> loadReminders;
    // Writes the reminder store to section "Alarm".
    std::function<void()> saveReminders;
    // Asks the user's name, proposing `proposed`; an empty text when cancelled.
    std::function<QString(const QString &proposed)> askUserName;
    // Prepares the main character and puts it at its home position.
    std::function<void()> prepareCharacter;
    // Gives the character the voice (the "Voice" option), silently.
    std::function<void(const QString &voice)> setVoice;
    // The options are in memory: whoever uses them (timers, quit choice, web texts) takes
    // them again. Runs after every load, so the options dialog, a character change and an
    // import reach the running program.
    std::function<void()> optionsLoaded;
    // The character files offered in the menu; empty: every "*.acs" file in CharsDir.
    std::function<QStringList()> characterFiles;
};
