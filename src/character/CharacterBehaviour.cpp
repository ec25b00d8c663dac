#include "character/CharacterBehaviour.h"

using namespace std::chrono_literals;

CharacterBehaviour::CharacterBehaviour()
    : CharacterBehaviour(Options{})
{}

CharacterBehaviour::CharacterBehaviour(const Options &options)
    : m_options(options)
{
    for (int i = 0; i < TimerCount; ++i)
        m_running[static_cast<std::size_t>(i)] = runsAtStart(static_cast<Timer>(i));
}

std::chrono::milliseconds CharacterBehaviour::interval(Timer timer)
{
    return timer == Timer::Follow ? 4s : 60s;
}

bool CharacterBehaviour::runsAtStart(Timer timer)
{
    switch (timer) {
    case Timer::MoveScr:
    case Timer::Read:
    case Timer::Idle:
        return true;
    case Timer::Follow:
    case Timer::Hide:
    case Timer::Stop:
        return false;
    }
    return false;
}

unsigned CharacterBehaviour::tick(Timer timer)
{
    if (!isRunning(timer))
        return None;
    switch (timer) {
    case Timer::Follow: {
        m_followSeconds += static_cast<int>(
                std::chrono::duration_cast<std::chrono::seconds>(interval(timer)).count());
        if (m_followSeconds > m_options.follow) {
            setRunning(timer, false);
            m_followSeconds = 0;
            return MoveToPointer | PlaceHome;
        }
        return MoveToPointer;
    }
    case Timer::Hide:
        ++m_hideMinutes;
        if (m_hideMinutes > m_options.hide) {
            setRunning(timer, false);
            m_hideMinutes = 0;
            return ShowIfHidden;
        }
        return None;
    case Timer::MoveScr:
        if (m_options.moveScr <= 0)
            return None;
        ++m_moveScrMinutes;
        if (m_moveScrMinutes > m_options.moveScr) {
            m_moveScrMinutes = 0;
            return PlaceRandom;
        }
        return None;
    case Timer::Read:
        // Once per start.
        setRunning(timer, false);
        return SpeakWebGreeting;
    case Timer::Stop:
        ++m_stayMinutes;
        if (m_stayMinutes >= m_options.stay) {
            setRunning(timer, false);
            return IdleOnAgain;
        }
        return None;
    case Timer::Idle:
        ++m_idleMinutes;
        if (m_idleMinutes > m_options.idle) {
            m_idleMinutes = 0;
            return ThinkAloud;
        }
        return None;
    }
    return None;
}

void CharacterBehaviour::startFollowing()
{
    m_followSeconds = 0;
    setRunning(Timer::Follow, true);
}

void CharacterBehaviour::characterHidden()
{
    m_hideMinutes = 0;
    setRunning(Timer::Hide, true);
}

void CharacterBehaviour::characterShown()
{
    setRunning(Timer::Hide, false);
}

void CharacterBehaviour::standStill()
{
    m_stayMinutes = 0;
    setRunning(Timer::Stop, true);
}

void CharacterBehaviour::stopAll()
{
    m_running.fill(false);
}

CharacterBehaviour::Click CharacterBehaviour::click(int button)
{
    switch (button) {
    case 1:
        return Click::Home;
    case 2:
    case 4098:
        return Click::Menu;
    default:
        return Click::Nothing;
    }
}

bool CharacterBehaviour::menuMayOpen(const QDateTime &lastActionTime, const QDateTime &now)
{
    // Whole seconds elapsed: 2.9 s is still 2.
    return lastActionTime.msecsTo(now) / 1000 > 2;
}
