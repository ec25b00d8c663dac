#pragma once

#include "settings/OptionKeys.h"

#include <QString>

// The options of section "Setting" held in memory while the program runs. LoadSettings
// fills them, the options dialog changes them, SaveSettings writes them back. Each member
// is named after its key and starts at the key's default.
struct OptionValues
{
    QString Location = OptionKeys::Location.defaultValue();
    QString Voice = OptionKeys::Voice.defaultValue();
    int Stay = OptionKeys::Stay.defaultValue;
    int Move = OptionKeys::Move.defaultValue;
    int Follow = OptionKeys::Follow.defaultValue;
    int Hide = OptionKeys::Hide.defaultValue;
    int Idle = OptionKeys::Idle.defaultValue;
    int Vol = OptionKeys::Vol.defaultValue;
    int MoveScr = OptionKeys::MoveScr.defaultValue;
    int Quit = OptionKeys::Quit.defaultValue;
    bool CharRot = OptionKeys::CharRot.defaultValue;
    int SearchEngine = OptionKeys::SearchEngine.defaultValue;
    int CharPos = OptionKeys::CharPos.defaultValue;
    QString AutoBackupDir = OptionKeys::AutoBackupDir.defaultValue();

    friend bool operator==(const OptionValues &, const OptionValues &) = default;
};

// The program's option values.
OptionValues &optionValues();
