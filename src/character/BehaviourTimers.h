#pragma once

#include "character/CharacterBehaviour.h"

#include <QObject>
#include <QTimer>
#include <array>

// The main window's six behaviour timers (TmrFollow, TmrHide, TmrMoveScr, TmrRead, TmrStop,
// TmrIdle) driven by the rules of CharacterBehaviour: each QTimer runs exactly while its
// rule says so, and every tick's wish comes out as a signal for the main window to carry out.
class BehaviourTimers final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BehaviourTimers)

public:
    using Timer = CharacterBehaviour::Timer;

    explicit BehaviourTimers(QObject *parent = nullptr);

    const CharacterBehaviour &behaviour() const { return m_behaviour; }
    void setOptions(const CharacterBehaviour::Options &options);
    QTimer *timer(Timer which) { return &m_timers[index(which)]; }

    // The timers that run from the start begin counting.
    void start();

    // The menu's commands that switch timers (see CharacterBehaviour).
    void startFollowing();
    void characterHidden();
    void characterShown();
    void standStill();
    // Quitting: every behaviour timer off.
    void stopAll();

    // One tick of `which` (what its timeout runs).
    void tick(Timer which);

signals:
    void moveToPointer();
    void placeHome();
    void showIfHidden();
    void placeRandom();
    void speakWebGreeting();
    void idleOnAgain();
    void thinkAloud();

private:
    static constexpr std::size_t index(Timer which) { return static_cast<std::size_t>(which); }
    // Starts or stops each QTimer to match the rules; a running timer keeps its phase.
    void sync();

    CharacterBehaviour m_behaviour;
    std::array<QTimer, CharacterBehaviour::TimerCount> m_timers;
    bool m_started = false;
};
