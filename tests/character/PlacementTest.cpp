#include "character/Placement.h"

#include <deque>
#include <gtest/gtest.h>

namespace {

const QRect Screen(0, 0, 1280, 800);
const QRect BottomBar(0, 770, 1280, 30);
const QRect TopBar(0, 0, 1280, 30);

struct PlaceRow
{
    const char *name;
    int code;
    QSize character;
    std::optional<QRect> taskBar;
    std::deque<double> randoms;
    QPoint expected;
};

class PlaceCharacter : public ::testing::TestWithParam<PlaceRow>
{
};

TEST_P(PlaceCharacter, landsHere)
{
    const PlaceRow &row = GetParam();
    std::deque<double> randoms = row.randoms;
    int draws = 0;
    const auto random = [&] {
        ++draws;
        const double r = randoms.empty() ? 0.0 : randoms.front();
        if (!randoms.empty())
            randoms.pop_front();
        return r;
    };
    EXPECT_EQ(Placement::target(row.code, Screen, row.character, row.taskBar, random),
              row.expected);
    EXPECT_EQ(draws, static_cast<int>(row.randoms.size())) << "random numbers drawn";
}

const QSize Big(128, 128);
const QSize Small(10, 10);

INSTANTIATE_TEST_SUITE_P(
        Codes, PlaceCharacter,
        ::testing::Values(
                PlaceRow{"randomScalesTheScreen", 0, Big, BottomBar, {0.25, 0.5}, {320, 400}},
                PlaceRow{"randomIsClamped", 0, Big, BottomBar, {0.99, 0.99}, {1024, 544}},
                PlaceRow{"topRightKeepsTwoWidthsClear", 1, Big, BottomBar, {}, {1024, 0}},
                PlaceRow{"topLeft", 2, Big, BottomBar, {}, {0, 0}},
                PlaceRow{"bottomRightKeepsTwoSizesClear", 3, Big, BottomBar, {}, {1024, 544}},
                PlaceRow{"bottomLeftAtRandomHeight", 4, Big, BottomBar, {0.5}, {0, 400}},
                PlaceRow{"bottomLeftClamped", 4, Big, BottomBar, {0.9}, {0, 544}},
                PlaceRow{"aboveBottomTaskBar", 5, Small, BottomBar, {}, {1260, 760}},
                PlaceRow{"tallCharacterEndsAtTwiceItsHeight", 5, Big, BottomBar, {}, {1024, 544}},
                PlaceRow{"topTaskBarGivesNoCorrection", 5, Small, TopBar, {}, {1260, 780}},
                PlaceRow{"noTaskBarStaysAtTheCorner", 5, Small, std::nullopt, {}, {0, 0}},
                PlaceRow{"unknownCode", 9, Small, BottomBar, {}, {0, 0}}),
        [](const auto &info) { return std::string(info.param.name); });

TEST(Placement, positionsAreOnTheGivenScreen)
{
    const QRect second(1280, 100, 1920, 1080);
    EXPECT_EQ(Placement::target(2, second, Small, std::nullopt, Placement::systemRandom()),
              QPoint(1280, 100));
    const auto bar = Placement::taskBar(second, QRect(1280, 100, 1920, 1050));
    ASSERT_TRUE(bar.has_value());
    EXPECT_EQ(Placement::target(5, second, Small, bar, Placement::systemRandom()),
              QPoint(1280 + 1920 - 20, 100 + 1080 - 10 - 30));
}

TEST(Placement, taskBarFromTheScreenGeometry)
{
    EXPECT_EQ(Placement::taskBar(Screen, QRect(0, 0, 1280, 770)), BottomBar);
    EXPECT_EQ(Placement::taskBar(Screen, QRect(0, 30, 1280, 770)), TopBar);
    EXPECT_EQ(Placement::taskBar(Screen, QRect(48, 0, 1232, 800)), QRect(0, 0, 48, 800));
    EXPECT_EQ(Placement::taskBar(Screen, QRect(0, 0, 1232, 800)), QRect(1232, 0, 48, 800));
    EXPECT_FALSE(Placement::taskBar(Screen, Screen).has_value());
}

} // namespace
