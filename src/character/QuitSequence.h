#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>
#include <optional>

// The way out of the program: the menu's quit command, and the same sequence without the
// shut-down dialog when the session ends (logout, shutdown, SIGTERM). It saves first, says
// goodbye, hides every character and ends when the last one has hidden; a stuck character
// or a second request to end cannot keep the program alive past the grace time.
class QuitSequence final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QuitSequence)

public:
    // The program's parts the sequence drives, in the order it calls them.
    struct Steps
    {
        // The shut-down dialog: the exit action chosen (0 none, 1 restart, 2 shut down), or
        // std::nullopt when the user cancelled.
        std::function<std::optional<int>()> askShutDown;
        std::function<void()> saveSettings;
        // Every open window of the program, the last opened first.
        std::function<void()> closeWindows;
        // Show the main character, empty its queue, no menu of its own.
        std::function<void()> readyCharacter;
        // Every main-window timer off.
        std::function<void()> stopTimers;
        std::function<void()> sayGoodbye;
        // Hide each loaded character in order, then the current one once more.
        std::function<void()> hideCharacters;
        // The number of loaded characters (the extra ones and the main one).
        std::function<int()> characterCount;
        // Restart or shut down the computer (1, 2); called only for those.
        std::function<void(int)> exitAction;
        std::function<void()> endProgram;
    };

    enum class State { Running, Asking, Quitting, Ended };

    static constexpr std::chrono::milliseconds DefaultGrace{5000};

    explicit QuitSequence(Steps steps, QObject *parent = nullptr);

    // Option "Quit" not 0: the menu's quit command asks with the shut-down dialog first.
    void setAskFirst(bool ask) { m_askFirst = ask; }
    // How long the characters may take to say goodbye and hide.
    void setGrace(std::chrono::milliseconds grace) { m_grace = grace; }

    State state() const { return m_state; }
    // While set, the character's events other than Hide are ignored.
    bool Quitting() const { return m_state == State::Quitting || m_state == State::Ended; }
    bool SystemClosing() const { return m_systemClosing; }

    // The menu's quit command.
    void quit();
    // The session ends: quit without the dialog; asked a second time, end at once.
    void sessionEnding();
    // The character component's Hide event.
    void hideEvent();

private:
    void proceed(int exitAction);
    void end();

    Steps m_steps;
    State m_state = State::Running;
    bool m_askFirst = false;
    bool m_systemClosing = false;
    int m_exitAction = 0;
    int m_hides = 0;
    std::chrono::milliseconds m_grace = DefaultGrace;
    QTimer m_deadline;
};
