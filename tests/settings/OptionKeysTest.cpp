#include "settings/OptionKeys.h"

#include "base/AppPaths.h"
#include "base/Rounding.h"
#include "settings/SettingsStore.h"
#include "support/FixedClock.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

namespace {

using namespace OptionKeys;

struct IntCase
{
    const char *name;
    const IntKey *key;
    const char *stored;
    int expected;
};

class IntKeyTest : public ::testing::TestWithParam<IntCase>
{
};

TEST_P(IntKeyTest, ParsesTolerantly)
{
    const IntCase &c = GetParam();
    EXPECT_EQ(c.key->parse(QString::fromUtf8(c.stored)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
        Options, IntKeyTest,
        ::testing::Values(IntCase{"plain", &Stay, "45", 45}, IntCase{"spaces", &Hide, " 12 ", 12},
                          IntCase{"wordIsDefault", &Follow, "soon", 30},
                          IntCase{"emptyIsDefault", &Idle, "", 30},
                          IntCase{"fractionUnderWholeKeyIsDefault", &Stay, "12.5", 30},
                          IntCase{"stayAsStoredLow", &Stay, "0", 0},
                          IntCase{"stayAsStoredHigh", &Stay, "101", 101},
                          IntCase{"negativeTimerIsDefault", &Hide, "-5", 30},
                          IntCase{"overflowIsDefault", &Move, "99999999999", 0},
                          IntCase{"anyMoveNumber", &Move, "-3", -3},
                          IntCase{"volRoundsUp", &Vol, "58500.6", 58501},
                          IntCase{"volHalfToEvenDown", &Vol, "58500.5", 58500},
                          IntCase{"volHalfToEvenUp", &Vol, "58501.5", 58502},
                          IntCase{"volTopOfRange", &Vol, "65535", 65535},
                          IntCase{"volAsStored", &Vol, "70000", 70000},
                          IntCase{"volWordIsDefault", &Vol, "loud", 58500},
                          IntCase{"volInfinityIsDefault", &Vol, "inf", 58500},
                          IntCase{"searchEngineHalfToEven", &SearchEngine, "2.5", 2},
                          IntCase{"searchEngineRounded", &SearchEngine, "6.51", 7},
                          IntCase{"searchEngineAsStored", &SearchEngine, "8", 8},
                          IntCase{"charPosAboveTheTaskBar", &CharPos, "5", 5},
                          IntCase{"charPosUnknownAsStored", &CharPos, "9", 9}),
        [](const auto &info) { return std::string(info.param.name); });

struct TruthCase
{
    const char *name;
    const char *stored;
    bool expected;
};

class TruthKeyTest : public ::testing::TestWithParam<TruthCase>
{
};

TEST_P(TruthKeyTest, AnyNonZeroNumberIsOn)
{
    EXPECT_EQ(CharRot.parse(QString::fromUtf8(GetParam().stored)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Options, TruthKeyTest,
                         ::testing::Values(TruthCase{"one", "1", true},
                                           TruthCase{"zero", "0", false},
                                           TruthCase{"two", "2", true},
                                           TruthCase{"minusOne", "-1", true},
                                           TruthCase{"falseWord", "False", false},
                                           TruthCase{"trueWord", "TRUE", true},
                                           TruthCase{"wordIsDefault", "maybe", true},
                                           TruthCase{"emptyIsDefault", "", true}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(TextKeyTest, FileNamesRefusePathsAndEmptyTexts)
{
    EXPECT_EQ(Lang.parse("Deutsch.lang"), "Deutsch.lang");
    EXPECT_EQ(Lang.parse("../../etc/passwd"), "English.lang");
    EXPECT_EQ(Char.parse("..\\x.acs"), "Wobbo_Mini.acs");
    EXPECT_EQ(Location.parse("  "), "United States.loc");
    EXPECT_EQ(Voice.parse(""), ""); // not a file name: kept as stored
}

TEST(OptionStoreTest, MissingKeysReadTheirDefaultsAndEmptyTextsStayEmpty)
{
    TempHome home;
    FixedClock clock(QDateTime(QDate(2026, 12, 6), QTime(9, 0)));
    SettingsStore store;
    EXPECT_EQ(read(Vol, store), 58500);
    EXPECT_TRUE(read(CharRot, store));
    EXPECT_EQ(read(AutoBackupDir, store), AppPaths::programFolder());
    EXPECT_EQ(read(LastAutoBackup, store), "2026-12-06");
    EXPECT_EQ(read(User, store), QString());

    // An empty backup folder switches the backup off; it must not read as the default.
    ASSERT_TRUE(save(store, AutoBackupDir, QString()));
    EXPECT_EQ(read(AutoBackupDir, store), QString());
    ASSERT_TRUE(save(store, Vol, 1234));
    ASSERT_TRUE(save(store, CharRot, false));
    EXPECT_EQ(store.get(SettingsStore::AppName, "Setting", "Vol"), "1234");
    EXPECT_EQ(store.get(SettingsStore::AppName, "Setting", "CharRot"), "0");
    EXPECT_EQ(read(Vol, store), 1234);
    EXPECT_FALSE(read(CharRot, store));
}

} // namespace

namespace {

TEST(RoundingTest, HalvesGoToTheEvenNeighbour)
{
    const std::pair<double, double> cases[] = {
            {0.5, 0},   {1.5, 2},    {2.5, 2},    {-0.5, 0}, {-1.5, -2},
            {-2.5, -2}, {2.4999, 2}, {2.5001, 3}, {9.0, 9},  {58500 / 6500.0, 9}};
    for (const auto &[value, expected] : cases)
        EXPECT_EQ(RoundHalfEven(value), expected) << value;
}

} // namespace
