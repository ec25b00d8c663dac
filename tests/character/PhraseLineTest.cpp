#include "character/PhraseLine.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

struct ChoiceRow
{
    const char *name;
    std::optional<QString> file;
    QStringList expected; // the lines of the first occasions, in order
};

class PhraseLineChoice : public ::testing::TestWithParam<ChoiceRow>
{
};

TEST_P(PhraseLineChoice, speaksLinesInTurn)
{
    const ChoiceRow &row = GetParam();
    int counter = 0;
    QStringList spoken;
    for (qsizetype i = 0; i < row.expected.size(); ++i)
        spoken << PhraseLine::next(row.file, counter);
    EXPECT_EQ(spoken, row.expected);
}

const QString a = QStringLiteral("a,Wave");
const QString b = QStringLiteral("b,Greet");
const QString c = QStringLiteral("c");

INSTANTIATE_TEST_SUITE_P(
        Shapes, PhraseLineChoice,
        ::testing::Values(ChoiceRow{"oneLineWithFinalCrLf", a + "\r\n", {a, a, a, a}},
                          ChoiceRow{"threeLinesWithoutFinalCrLf",
                                    a + "\r\n" + b + "\r\n" + c,
                                    {b, c, a, b, c, a, b}},
                          ChoiceRow{"threeLinesWithFinalCrLf",
                                    a + "\r\n" + b + "\r\n" + c + "\r\n",
                                    {b, c, a, b, c, a}},
                          ChoiceRow{"emptyLineEndsTheUsablePart",
                                    a + "\r\n" + b + "\r\n\r\n" + c + "\r\nd",
                                    {b, a, b, a, b}},
                          ChoiceRow{"linuxLineEnds", a + "\n" + b + "\n" + c + "\n", {b, c, a, b}},
                          ChoiceRow{"emptyFile", QString(), {"", "", ""}},
                          ChoiceRow{"emptyFirstLine", "\r\n" + b, {b, "", b, ""}},
                          ChoiceRow{"missingFile", std::nullopt, {"", "", ""}}),
        [](const auto &info) { return std::string(info.param.name); });

TEST(PhraseLine, missingFileKeepsCountingAndResumesWhenTheFileReturns)
{
    const QString file = a + "\r\n" + b + "\r\n" + c + "\r\n" + "d";
    int counter = 0;
    EXPECT_EQ(PhraseLine::next(file, counter), b);
    EXPECT_EQ(PhraseLine::next(std::nullopt, counter), QString());
    EXPECT_EQ(PhraseLine::next(std::nullopt, counter), QString());
    EXPECT_EQ(counter, 3);
    EXPECT_EQ(PhraseLine::next(file, counter), a); // past the last line: back to the first
    EXPECT_EQ(counter, 0);
}

TEST(PhraseLine, counterWrapsInsteadOfOverflowing)
{
    int counter = PhraseLine::MaxCounter;
    EXPECT_EQ(PhraseLine::next(a + "\r\n" + b, counter), a);
    EXPECT_EQ(counter, 0);
    counter = PhraseLine::MaxCounter;
    PhraseLine::next(std::nullopt, counter);
    EXPECT_EQ(counter, 0);
}

} // namespace
