#include "character/TourScript.h"

#include "RecordingCharacter.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using Step = TourScript::Step;

struct TourRow
{
    const char *name;
    QString line;
    QStringList requests; // on a 1280x800 screen
};

class TourLine : public ::testing::TestWithParam<TourRow>
{
};

TEST_P(TourLine, becomesTheseRequests)
{
    const TourRow &row = GetParam();
    RecordingCharacter character;
    TourScript::perform(TourScript::parse(row.line), character, QSize(1280, 800));
    EXPECT_EQ(character.log, row.requests);
}

INSTANTIATE_TEST_SUITE_P(
        Lines, TourLine,
        ::testing::Values(
                TourRow{"moveByPercent", "MOVE@,50,25", {"move:640,200"}},
                TourRow{"moveRoundsToNearestPixel", "MOVE@,0.05,0.07", {"move:1,1"}},
                TourRow{"nonNumericCountsAsZero", "MOVE@,left,abc", {"move:0,0"}},
                TourRow{"leadingNumberIsTaken", "MOVE@,40%, 10 px", {"move:512,80"}},
                TourRow{"moveWithTooFewFieldsIsSkipped", "MOVE@,50", {}},
                TourRow{"lowerCaseMoveIsText", "move@,Wave", {"play:Wave", "speak:move@"}},
                TourRow{"textAndAnimation", "Hello there,Wave", {"play:Wave", "speak:Hello there"}},
                TourRow{"extraFieldsAreDropped", "Hi,Greet,more", {"play:Greet", "speak:Hi"}},
                TourRow{"lineWithoutCommaIsSpokenOnly", "Just words", {"speak:Just words"}},
                TourRow{"emptyLineDoesNothing", "", {}}),
        [](const auto &info) { return std::string(info.param.name); });

TEST(TourScript, runsEveryLineInOrderWithWindowsOrLinuxLineEnds)
{
    for (const QString &eol : {QStringLiteral("\r\n"), QStringLiteral("\n")}) {
        RecordingCharacter character;
        TourScript::perform(TourScript::parse("Hi,Wave" + eol + "MOVE@,10,10" + eol + "Bye" + eol),
                            character, QSize(1000, 500));
        EXPECT_EQ(character.log,
                  (QStringList{"play:Wave", "speak:Hi", "move:100,50", "speak:Bye"}));
    }
}

TEST(TourScript, missingFileMeansNoTour)
{
    QTemporaryDir dir;
    EXPECT_FALSE(TourScript::load(dir.filePath("readonce.txt")).has_value());
}

TEST(TourScript, hugePercentagesDoNotOverflow)
{
    Step step;
    step.kind = Step::Kind::Move;
    step.xPercent = 1e300;
    step.yPercent = -1e300;
    const QPoint p = TourScript::target(step, QSize(1280, 800));
    EXPECT_EQ(p, QPoint(1000000, -1000000));
}

} // namespace
