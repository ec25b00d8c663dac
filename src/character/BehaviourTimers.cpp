#include "character/BehaviourTimers.h"

namespace {

const char *const TimerNames[] = {"TmrFollow", "TmrHide", "TmrMoveScr",
                                  "TmrRead",   "TmrStop", "TmrIdle"};

} // namespace

BehaviourTimers::BehaviourTimers(QObject *parent)
    : QObject(parent)
{
    for (int i = 0; i < CharacterBehaviour::TimerCount; ++i) {
        const auto which = static_cast<Timer>(i);
        QTimer &qtimer = m_timers[index(which)];
        qtimer.setParent(this);
        qtimer.setObjectName(QString::fromLatin1(TimerNames[i]));
        qtimer.setInterval(CharacterBehaviour::interval(which));
        connect(&qtimer, &QTimer::timeout, this, [this, which] { tick(which); });
    }
}

void BehaviourTimers::setOptions(const CharacterBehaviour::Options &options)
{
    m_behaviour.setOptions(options);
}

void BehaviourTimers::start()
{
    m_started = true;
    sync();
}

void BehaviourTimers::startFollowing()
{
    m_behaviour.startFollowing();
    sync();
}

void BehaviourTimers::characterHidden()
{
    m_behaviour.characterHidden();
    sync();
}

void BehaviourTimers::characterShown()
{
    m_behaviour.characterShown();
    sync();
}

void BehaviourTimers::standStill()
{
    m_behaviour.standStill();
    sync();
}

void BehaviourTimers::stopAll()
{
    m_behaviour.stopAll();
    sync();
}

void BehaviourTimers::tick(Timer which)
{
    const unsigned actions = m_behaviour.tick(which);
    sync();
    if (actions & CharacterBehaviour::MoveToPointer)
        emit moveToPointer();
    if (actions & CharacterBehaviour::PlaceHome)
        emit placeHome();
    if (actions & CharacterBehaviour::ShowIfHidden)
        emit showIfHidden();
    if (actions & CharacterBehaviour::PlaceRandom)
        emit placeRandom();
    if (actions & CharacterBehaviour::SpeakWebGreeting)
        emit speakWebGreeting();
    if (actions & CharacterBehaviour::IdleOnAgain)
        emit idleOnAgain();
    if (actions & CharacterBehaviour::ThinkAloud)
        emit thinkAloud();
}

void BehaviourTimers::sync()
{
    for (int i = 0; i < CharacterBehaviour::TimerCount; ++i) {
        const auto which = static_cast<Timer>(i);
        QTimer &qtimer = m_timers[index(which)];
        const bool shouldRun = m_started && m_behaviour.isRunning(which);
        if (shouldRun && !qtimer.isActive())
            qtimer.start();
        else if (!shouldRun && qtimer.isActive())
            qtimer.stop();
    }
}
