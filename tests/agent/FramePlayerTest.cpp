#include "agent/FramePlayer.h"

#include "RuntimeTestCharacter.h"
#include "support/ManualAgentClock.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

QList<int> framesSeen(FramePlayer &player, ManualAgentClock &clock, qint64 ms)
{
    QList<int> frames{player.frameIndex()};
    QObject::connect(&player, &FramePlayer::frameChanged, &player,
                     [&] { frames << player.frameIndex(); });
    clock.advance(ms);
    QObject::disconnect(&player, &FramePlayer::frameChanged, &player, nullptr);
    return frames;
}

TEST(FramePlayer, BranchesFollowTheRandomSourceReproducibly)
{
    auto data = makeRuntimeTestCharacter();
    addTestAnimation(*data, QStringLiteral("Loopy"), {100, 100, 100});
    auto *loopy = const_cast<CharacterData::Animation *>(data->animation(QStringLiteral("loopy")));
    loopy->frames[1].branches = {{0, 50}};

    const auto run = [&](quint32 seed) {
        ManualAgentClock clock;
        QRandomGenerator random(seed);
        FramePlayer player(clock, random);
        player.setCharacter(data);
        EXPECT_TRUE(player.play(QStringLiteral("Loopy")));
        return framesSeen(player, clock, 60000);
    };
    int wentBack = 0;
    for (quint32 seed = 0; seed < 20; ++seed) {
        const QList<int> seen = run(seed);
        EXPECT_EQ(seen, run(seed)) << "seed " << seed;
        EXPECT_EQ(seen.last(), 2);
        wentBack += seen.size() > 3;
    }
    // A 50 % branch is taken sometimes, not always.
    EXPECT_GT(wentBack, 3);
    EXPECT_LT(wentBack, 17);
}

TEST(FramePlayer, FinishTakesTheExitBranchAndLoopsStop)
{
    auto data = makeRuntimeTestCharacter();
    addTestAnimation(*data, QStringLiteral("Talk"), {100, 100, 100, 100, 100}, {}, true);
    auto *talk = const_cast<CharacterData::Animation *>(data->animation(QStringLiteral("Talk")));
    talk->frames[1].exitFrame = 4;

    ManualAgentClock clock;
    QRandomGenerator random(1);
    FramePlayer player(clock, random);
    player.setCharacter(data);
    QSignalSpy finished(&player, &FramePlayer::finished);
    player.play(QStringLiteral("Talk"));
    EXPECT_EQ(framesSeen(player, clock, 1150), (QList<int>{0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 0, 1}));
    EXPECT_TRUE(finished.isEmpty());
    player.finish(); // on frame 1: leaves through frame 4 when frame 1 is done
    EXPECT_EQ(framesSeen(player, clock, 1000), (QList<int>{1, 4}));
    EXPECT_EQ(finished.size(), 1);
    EXPECT_FALSE(player.isPlaying());
    EXPECT_EQ(clock.armedCount(), 0);
}

TEST(FramePlayer, ZeroLengthFramesCannotSpin)
{
    auto data = makeRuntimeTestCharacter();
    addTestAnimation(*data, QStringLiteral("Spin"), {0, 0}, {}, true);
    ManualAgentClock clock;
    QRandomGenerator random(1);
    FramePlayer player(clock, random);
    player.setCharacter(data);
    player.play(QStringLiteral("Spin"));
    EXPECT_LE(framesSeen(player, clock, 1000).size(), 101);
}

TEST(FramePlayer, StillModeShowsTheLastFrameWithoutTimers)
{
    auto data = makeRuntimeTestCharacter();
    ManualAgentClock clock;
    QRandomGenerator random(1);
    FramePlayer player(clock, random);
    player.setCharacter(data);
    player.setStill(true);
    QSignalSpy finished(&player, &FramePlayer::finished);
    EXPECT_TRUE(player.play(QStringLiteral("Wave")));
    EXPECT_EQ(player.frameIndex(), 3);
    EXPECT_EQ(finished.size(), 1);
    EXPECT_EQ(clock.armedCount(), 0);
    EXPECT_FALSE(player.play(QStringLiteral("Missing")));
}

} // namespace
