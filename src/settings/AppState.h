#pragma once

#include <QDateTime>
#include <QString>

// The process-wide state of a run, besides the option values.
struct AppState
{
    // The user's name for greetings; read by LoadSettings.
    QString UserName;
    // The language file in force since start ("Lang").
    QString LangInForce = QStringLiteral("English.lang");
    // The language file chosen in the options; this one is saved and used at the next start.
    QString LangChosen = QStringLiteral("English.lang");
    // File name of the current character.
    QString CharFile;
    // Folder of the character files.
    QString CharsDir;
    // True only in the run that wrote the first-run defaults (it plays the tour).
    bool FirstRun = false;
    // The last time the user did something with the program.
    QDateTime LastActionTime;
    // The desktop session is ending: quit without asking.
    bool SystemClosing = false;
    // LoadSettings has read the options: only then may SaveSettings write them back.
    bool OptionsLoaded = false;
};

AppState &appState();
