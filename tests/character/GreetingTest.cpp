#include "character/Greeting.h"

#include "RecordingCharacter.h"

#include <gtest/gtest.h>

namespace {

struct GreetingRow
{
    const char *name;
    QTime time;
    bool greets;
    const char *words;
};

class GreetingByHour : public ::testing::TestWithParam<GreetingRow>
{
};

TEST_P(GreetingByHour, choosesWordsAndAnimation)
{
    const GreetingRow &row = GetParam();
    const Greeting greeting = Greeting::at(row.time);
    EXPECT_EQ(greeting.words(), QString::fromLatin1(row.words));
    EXPECT_EQ(greeting.playsGreet(), row.greets);
}

INSTANTIATE_TEST_SUITE_P(
        Boundaries, GreetingByHour,
        ::testing::Values(GreetingRow{"midnight", {0, 0}, false, "Good Evening "},
                          GreetingRow{"at0459", {4, 59, 59}, false, "Good Evening "},
                          GreetingRow{"at0500", {5, 0}, true, "Good Morning "},
                          GreetingRow{"at1159", {11, 59, 59}, true, "Good Morning "},
                          GreetingRow{"at1200", {12, 0}, true, "Good Afternoon "},
                          GreetingRow{"at1759", {17, 59, 59}, true, "Good Afternoon "},
                          GreetingRow{"at1800", {18, 0}, false, "Good Evening "},
                          GreetingRow{"at2359", {23, 59, 59}, false, "Good Evening "}),
        [](const auto &info) { return std::string(info.param.name); });

TEST(Greeting, morningWavesThenSpeaksThenRests)
{
    RecordingCharacter character;
    Greeting::at(QTime(9, 0)).perform(character, QStringLiteral("Ada"));
    EXPECT_EQ(character.log,
              (QStringList{"play:greet", "speak:Good Morning Ada", "play:RestPose"}));
}

TEST(Greeting, eveningSpeaksWithoutGreetAnimation)
{
    RecordingCharacter character;
    Greeting::at(QTime(21, 0)).perform(character, QStringLiteral("Ada"));
    EXPECT_EQ(character.log, (QStringList{"speak:Good Evening Ada", "play:RestPose"}));
}

} // namespace
