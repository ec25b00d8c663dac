#pragma once

#include "settings/SettingsHooks.h"

#include <QObject>
#include <memory>

class AlarmStore;
class CharacterEvents;
class CharacterManager;
class Characters;
class FrmMain;
class PhraseBook;
class QuitSequence;
class SingleInstance;
class StandInMenu;
class UnixSignalWatcher;
class WebTextSpeaker;

// One run of the program: everything that lives from start-up to quit, and the start-up
// itself in its fixed order.
class Program final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Program)

public:
    Program();
    ~Program() override;

    // The entry routine: prepares the run, loads the main window, checks for a running
    // copy and then runs the event loop. The process's exit code.
    int RunStartup();

    // The menu's quit command.
    void quit();
    // Logout, shutdown or a termination signal: the quit without asking.
    void sessionEnding();

private:
    void fillSettingsHooks();
    void loadMainWindow();
    void runFirstRunTour();
    // The options in memory reach the timers, the quit choice and the web texts.
    void applyOptions();
    void closeWindows();
    void hideCharacters();
    void unloadWindows();
    void watchSessionEnd();

    // Menu commands of the stand-in menu.
    void showReminders();
    void hideOrShowCharacter();
    void tellTime();

    // A second copy runs its load sequence without writing anything, then ends.
    bool m_secondCopy = false;
    // The session ended before the quit sequence existed.
    bool m_endRequested = false;
    // The steps of LoadSettings and SaveSettings; filled once the main window exists.
    SettingsHooks m_hooks;
    std::unique_ptr<SingleInstance> m_instance;
    std::unique_ptr<AlarmStore> m_alarms;
    std::unique_ptr<Characters> m_control;
    std::unique_ptr<CharacterManager> m_characters;
    std::unique_ptr<PhraseBook> m_phrases;
    std::unique_ptr<WebTextSpeaker> m_web;
    std::unique_ptr<StandInMenu> m_menu;
    std::unique_ptr<FrmMain> m_main;
    std::unique_ptr<QuitSequence> m_quit;
    std::unique_ptr<CharacterEvents> m_events;
    std::unique_ptr<UnixSignalWatcher> m_signals;
};
