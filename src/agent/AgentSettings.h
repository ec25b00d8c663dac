#pragma once

#include <QString>

class RegistryStore;

// The component's own settings, kept under its registry key beside the values the program
// writes at first run ("UseCharacterFont", "SpeakingSpeed"). A bad stored value reads as
// its default.
struct AgentSettings
{
    static constexpr const char *Key = "HKEY_CURRENT_USER\\Software\\Microsoft\\Microsoft Agent";
    static constexpr int MinSpeed = 1;
    static constexpr int MaxSpeed = 7;
    static constexpr int NormalSpeed = 4;

    bool speechOutput = true;
    int speakingSpeed = NormalSpeed; // 1 slowest .. 7 fastest
    bool useCharacterFont = true;
    QString defaultCharacter; // file name in the characters folder; empty: the program's

    static AgentSettings load(RegistryStore &store);
    // Writes every value in one transaction; other values under the key stay.
    bool save(RegistryStore &store) const;
    // A voice's own rate scaled by the speaking speed (the normal speed keeps it).
    static int wordsPerMinute(int voiceRate, int speakingSpeed);
};
