#include "character/CharacterBehaviour.h"

#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace {

using B = CharacterBehaviour;
using Timer = B::Timer;
using namespace std::chrono_literals;

struct TimerRow
{
    const char *name;
    Timer timer;
    B::Options options;
    std::function<void(B &)> setUp;
    int quietTicks;      // ticks that ask for nothing special
    unsigned quietValue; // what each quiet tick returns
    unsigned lastValue;  // what the tick after them returns
    bool runningAfter;
};

class BehaviourTimer : public ::testing::TestWithParam<TimerRow>
{
};

TEST_P(BehaviourTimer, firesOnTheRightTick)
{
    const TimerRow &row = GetParam();
    B behaviour(row.options);
    if (row.setUp)
        row.setUp(behaviour);
    for (int i = 0; i < row.quietTicks; ++i)
        ASSERT_EQ(behaviour.tick(row.timer), row.quietValue) << "tick " << i + 1;
    EXPECT_EQ(behaviour.tick(row.timer), row.lastValue);
    EXPECT_EQ(behaviour.isRunning(row.timer), row.runningAfter);
}

B::Options with(int B::Options::*field, int value)
{
    B::Options options;
    options.*field = value;
    return options;
}

const B::Options Defaults{};

INSTANTIATE_TEST_SUITE_P(
        Comparisons, BehaviourTimer,
        ::testing::Values(
                // 4 s a tick, strictly more than 30 s: home after the eighth tick (32 s).
                TimerRow{"followStopsAfterEighthTick", Timer::Follow, Defaults, &B::startFollowing,
                         7, B::MoveToPointer, B::MoveToPointer | B::PlaceHome, false},
                TimerRow{"followOfEightSecondsNeedsThreeTicks", Timer::Follow,
                         with(&B::Options::follow, 8), &B::startFollowing, 2, B::MoveToPointer,
                         B::MoveToPointer | B::PlaceHome, false},
                TimerRow{"followOffDoesNothing", Timer::Follow, Defaults, nullptr, 0, B::None,
                         B::None, false},
                TimerRow{"hideReturnsAfter31Minutes", Timer::Hide, Defaults, &B::characterHidden,
                         30, B::None, B::ShowIfHidden, false},
                TimerRow{"showCommandStopsHideTimer", Timer::Hide, Defaults,
                         [](B &b) {
                             b.characterHidden();
                             b.characterShown();
                         },
                         0, B::None, B::None, false},
                TimerRow{"moveScrNeverWhenZero", Timer::MoveScr, Defaults, nullptr, 500, B::None,
                         B::None, true},
                TimerRow{"moveScrAfter61Minutes", Timer::MoveScr, with(&B::Options::moveScr, 60),
                         nullptr, 60, B::None, B::PlaceRandom, true},
                // The read timer greets once and stops itself.
                TimerRow{"readGreetsOnceAtFirstTick", Timer::Read, Defaults, nullptr, 0, B::None,
                         B::SpeakWebGreeting, false},
                // Greater or equal: idle animations return on the 30th minute.
                TimerRow{"stopEndsAfter30Minutes", Timer::Stop, Defaults, &B::standStill, 29,
                         B::None, B::IdleOnAgain, false},
                TimerRow{"stopOfZeroEndsAtFirstTick", Timer::Stop, with(&B::Options::stay, 0),
                         &B::standStill, 0, B::None, B::IdleOnAgain, false},
                TimerRow{"idleThinksAfter31Minutes", Timer::Idle, Defaults, nullptr, 30, B::None,
                         B::ThinkAloud, true},
                TimerRow{"quittingSilencesEveryTimer", Timer::Idle, with(&B::Options::idle, 0),
                         &B::stopAll, 0, B::None, B::None, false}),
        [](const auto &info) { return std::string(info.param.name); });

TEST(CharacterBehaviour, countersStartAgainAfterFiring)
{
    B behaviour(with(&B::Options::idle, 2));
    std::vector<unsigned> seen;
    for (int i = 0; i < 7; ++i)
        seen.push_back(behaviour.tick(Timer::Idle));
    EXPECT_EQ(seen, (std::vector<unsigned>{0, 0, B::ThinkAloud, 0, 0, B::ThinkAloud, 0}));

    behaviour.startFollowing();
    behaviour.tick(Timer::Follow);
    behaviour.startFollowing(); // the follow command again counts from 0
    EXPECT_EQ(behaviour.followSeconds(), 0);
}

TEST(CharacterBehaviour, intervalsAndStartStates)
{
    struct Row
    {
        Timer timer;
        std::chrono::milliseconds interval;
        bool atStart;
    };
    for (const Row &row : {Row{Timer::Follow, 4000ms, false}, Row{Timer::Hide, 60000ms, false},
                           Row{Timer::MoveScr, 60000ms, true}, Row{Timer::Read, 60000ms, true},
                           Row{Timer::Stop, 60000ms, false}, Row{Timer::Idle, 60000ms, true}}) {
        EXPECT_EQ(B::interval(row.timer), row.interval);
        EXPECT_EQ(B::runsAtStart(row.timer), row.atStart);
        EXPECT_EQ(B().isRunning(row.timer), row.atStart);
    }
}

struct MenuRow
{
    const char *name;
    qint64 msecsSinceLastAction;
    bool opens;
};

class MenuDelay : public ::testing::TestWithParam<MenuRow>
{
};

TEST_P(MenuDelay, opensOnlyAfterMoreThanTwoWholeSeconds)
{
    const QDateTime last(QDate(2026, 3, 1), QTime(10, 0, 0, 900));
    EXPECT_EQ(B::menuMayOpen(last, last.addMSecs(GetParam().msecsSinceLastAction)),
              GetParam().opens);
}

INSTANTIATE_TEST_SUITE_P(Seconds, MenuDelay,
                         ::testing::Values(MenuRow{"twoSeconds", 2000, false},
                                           MenuRow{"justUnderThree", 2999, false},
                                           MenuRow{"threeSeconds", 3000, true},
                                           MenuRow{"clockWentBack", -5000, false}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
