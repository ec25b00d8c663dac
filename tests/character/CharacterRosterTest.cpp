#include "character/CharacterRoster.h"

#include <gtest/gtest.h>

namespace {

class CharacterRosterTest : public ::testing::Test
{
protected:
    CharacterRosterTest() { roster.startMain(); }

    QString addNext()
    {
        const QString id = roster.nextExtraId();
        roster.addExtra(id);
        return id;
    }

    CharacterRoster roster;
};

TEST_F(CharacterRosterTest, idSearchStartsAfterTheExtraCount)
{
    EXPECT_EQ(addNext(), "Agent1");
    EXPECT_EQ(addNext(), "Agent2");
    ASSERT_TRUE(roster.remove("Agent1"));
    // ExtraCharCount is 1 now: 2 is tried first, taken, so 3.
    EXPECT_EQ(addNext(), "Agent3");
    EXPECT_EQ(roster.CharIds(), (QStringList{"Agent0", "Agent2", "Agent3"}));
    EXPECT_EQ(roster.ExtraCharCount(), 2);
}

TEST_F(CharacterRosterTest, removingAnUnknownIdChangesNoCounter)
{
    addNext();
    EXPECT_FALSE(roster.remove("Agent7"));
    EXPECT_EQ(roster.ExtraCharCount(), 1);
}

TEST_F(CharacterRosterTest, removingTheCurrentMakesTheFirstRemainingCurrent)
{
    addNext();
    addNext();
    ASSERT_TRUE(roster.select("agent2"));
    EXPECT_EQ(roster.CurrentCharId(), "Agent2");
    ASSERT_TRUE(roster.remove(roster.CurrentCharId()));
    EXPECT_EQ(roster.CurrentCharId(), "Agent0");
    ASSERT_TRUE(roster.remove("Agent0"));
    EXPECT_EQ(roster.CurrentCharId(), "Agent1");
    EXPECT_EQ(roster.count(), 1);
}

} // namespace
