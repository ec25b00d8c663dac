#include "character/BehaviourTimers.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace std::chrono_literals;
using Timer = CharacterBehaviour::Timer;

namespace {

QStringList activeTimers(BehaviourTimers &timers)
{
    QStringList active;
    for (QTimer *timer : timers.findChildren<QTimer *>()) {
        if (timer->isActive())
            active << timer->objectName();
    }
    active.sort();
    return active;
}

TEST(BehaviourTimers, startRunsTheThreeTimersOfTheStart)
{
    BehaviourTimers timers;
    EXPECT_TRUE(activeTimers(timers).isEmpty());
    timers.start();
    EXPECT_EQ(activeTimers(timers), (QStringList{"TmrIdle", "TmrMoveScr", "TmrRead"}));
    EXPECT_EQ(timers.findChild<QTimer *>("TmrFollow")->intervalAsDuration(), 4000ms);
    EXPECT_EQ(timers.findChild<QTimer *>("TmrIdle")->intervalAsDuration(), 60000ms);
}

TEST(BehaviourTimers, followingRunsItsTimerUntilItEndsAtHome)
{
    BehaviourTimers timers;
    timers.start();
    QSignalSpy moves(&timers, &BehaviourTimers::moveToPointer);
    QSignalSpy home(&timers, &BehaviourTimers::placeHome);
    timers.startFollowing();
    EXPECT_TRUE(timers.timer(Timer::Follow)->isActive());
    for (int i = 0; i < 8; ++i)
        timers.tick(Timer::Follow);
    EXPECT_EQ(moves.count(), 8);
    EXPECT_EQ(home.count(), 1);
    EXPECT_FALSE(timers.timer(Timer::Follow)->isActive());
}

TEST(BehaviourTimers, hideAndStopCommandsSwitchTheirTimers)
{
    BehaviourTimers timers;
    timers.start();
    timers.characterHidden();
    timers.standStill();
    EXPECT_TRUE(timers.timer(Timer::Hide)->isActive());
    EXPECT_TRUE(timers.timer(Timer::Stop)->isActive());
    timers.characterShown();
    EXPECT_FALSE(timers.timer(Timer::Hide)->isActive());

    CharacterBehaviour::Options options;
    options.stay = 1;
    timers.setOptions(options);
    QSignalSpy idleBack(&timers, &BehaviourTimers::idleOnAgain);
    timers.tick(Timer::Stop);
    EXPECT_EQ(idleBack.count(), 1);
    EXPECT_FALSE(timers.timer(Timer::Stop)->isActive());
}

TEST(BehaviourTimers, stopAllSilencesEveryTimer)
{
    BehaviourTimers timers;
    timers.start();
    timers.startFollowing();
    timers.stopAll();
    EXPECT_TRUE(activeTimers(timers).isEmpty());
    QSignalSpy thoughts(&timers, &BehaviourTimers::thinkAloud);
    for (int i = 0; i < 100; ++i)
        timers.tick(Timer::Idle);
    EXPECT_EQ(thoughts.count(), 0);
}

} // namespace
