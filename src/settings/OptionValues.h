#pragma once

#include <QString>

// The options of section "Setting" held in memory while the program runs. LoadSettings
// fills them, the options dialog changes them, SaveSettings writes them back. Each member
// is named after its key; the key's row in OptionKeys gives its default and how it is read.
struct OptionValues
{
    // Every option at its key's default.
    OptionValues();

    QString Location;
    QString Voice;
    int Stay = 0;
    int Move = 0;
    int Follow = 0;
    int Hide = 0;
    int Idle = 0;
    int Vol = 0;
    int MoveScr = 0;
    int Quit = 0;
    bool CharRot = false;
    int SearchEngine = 0;
    int CharPos = 0;
    QString AutoBackupDir;

    friend bool operator==(const OptionValues &, const OptionValues &) = default;
};

// The program's option values.
OptionValues &optionValues();
