#pragma once

#include <QDateTime>
#include <array>
#include <chrono>

// The character's little life between requests, as counters on the main window's behaviour
// timers: which timer runs, what each tick asks of the character, and the mouse-event
// rules. Free of the character itself, so the main window only wires ticks to actions.
class CharacterBehaviour final
{
public:
    enum class Timer { Follow, Hide, MoveScr, Read, Stop, Idle };
    static constexpr int TimerCount = 6;

    // What a tick asks the main window to do; several may come from one tick.
    enum Action : unsigned {
        None = 0,
        MoveToPointer = 1 << 0,    // follow: move to the mouse pointer
        PlaceHome = 1 << 1,        // following ended: home position, show first
        ShowIfHidden = 1 << 2,     // hiding ended: show the character if it is hidden
        PlaceRandom = 1 << 3,      // the periodic walk: random position, show first
        SpeakWebGreeting = 1 << 4, // fetch and speak the site's greeting
        IdleOnAgain = 1 << 5,      // standing still ended: idle animations back on
        ThinkAloud = 1 << 6,       // the next "thinking.txt" thought
    };

    // Option values in the units the timers count ("Follow" seconds, the rest minutes).
    struct Options
    {
        int follow = 30;
        int hide = 30;
        int moveScr = 0; // 0: never walk about
        int stay = 30;
        int idle = 30;
    };

    enum class Click { Home, Menu, Nothing };

    CharacterBehaviour();
    explicit CharacterBehaviour(const Options &options);

    static std::chrono::milliseconds interval(Timer timer);
    static bool runsAtStart(Timer timer);

    void setOptions(const Options &options) { m_options = options; }
    const Options &options() const { return m_options; }

    bool isRunning(Timer timer) const { return m_running[index(timer)]; }
    // One tick of `timer`; a tick of a timer that is off does nothing.
    unsigned tick(Timer timer);

    // The menu's follow command: follow the pointer from now, counting from 0.
    void startFollowing();
    // The menu's hide command hid the character: bring it back after "Hide" minutes.
    void characterHidden();
    // The menu's show command: no return timer any more.
    void characterShown();
    // The menu's stop command: idle animations come back after "Stay" minutes.
    void standStill();
    // Quitting: every behaviour timer off.
    void stopAll();

    // A mouse button of the character or its tray icon: 1 left, 2 right, 4098 tray right.
    static Click click(int button);
    // The menu opens only when more than 2 whole seconds have passed since the last
    // action (the menu closing, or the main window loading).
    static bool menuMayOpen(const QDateTime &lastActionTime, const QDateTime &now);

    int followSeconds() const { return m_followSeconds; }
    int hideMinutes() const { return m_hideMinutes; }
    int moveScrMinutes() const { return m_moveScrMinutes; }
    int stayMinutes() const { return m_stayMinutes; }
    int idleMinutes() const { return m_idleMinutes; }

private:
    static constexpr std::size_t index(Timer timer) { return static_cast<std::size_t>(timer); }
    void setRunning(Timer timer, bool running) { m_running[index(timer)] = running; }

    Options m_options;
    std::array<bool, TimerCount> m_running{};
    int m_followSeconds = 0;
    int m_hideMinutes = 0;
    int m_moveScrMinutes = 0;
    int m_stayMinutes = 0;
    int m_idleMinutes = 0;
};
