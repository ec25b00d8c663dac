#include "base/TextDecoding.h"
#include "character/PhraseBook.h"
#include "character/PhraseLine.h"
#include "character/TourScript.h"

#include <QDir>
#include <QSet>
#include <gtest/gtest.h>

namespace {

// The animations every shipped character has.
const QSet<QString> &standardAnimations()
{
    static const QSet<QString> names = [] {
        QSet<QString> set;
        for (const char *name : {"RestPose",    "Show",       "Hide",         "Greet",
                                 "Wave",        "Announce",   "GetAttention", "GetAttentionReturn",
                                 "Read",        "ReadReturn", "Write",        "WriteReturn",
                                 "Think",       "Explain",    "Pleased",      "Sad",
                                 "Surprised",   "Confused",   "Congratulate", "Decline",
                                 "Acknowledge", "Search",     "Blink",        "LookUp",
                                 "LookDown",    "LookLeft",   "LookRight",    "Idle1_1",
                                 "Idle1_2",     "Idle2_1",    "Idle2_2",      "Idle3_1",
                                 "Idle3_2",     "Idle3_3"})
            set << QString::fromLatin1(name).toLower();
        return set;
    }();
    return names;
}

QString shipped(const QString &name)
{
    return QDir(QStringLiteral(QUILLOMI_SOURCE_DATA_DIR)).filePath(name);
}

// The usable lines: up to the first empty one, as the speakers reach them.
QStringList usableLines(const QString &name)
{
    const auto text = TextDecoding::readFile(shipped(name));
    if (!text)
        return {};
    QStringList lines;
    for (const QString &line : TextDecoding::splitLines(*text)) {
        if (line.isEmpty())
            break;
        lines << line;
    }
    return lines;
}

class ShippedPhraseFile : public ::testing::TestWithParam<QString>
{
};

TEST_P(ShippedPhraseFile, everyLineIsReachableAndNamesAKnownAnimation)
{
    const QString name = GetParam();
    const QStringList lines = usableLines(name);
    ASSERT_GE(lines.size(), 4) << qPrintable(name);
    const bool plainText = name == PhraseBook::Feed || name == PhraseBook::HideLine;
    for (const QString &line : lines) {
        const QStringList pieces = PhraseLine::pieces(line);
        EXPECT_FALSE(pieces.at(0).trimmed().isEmpty()) << qPrintable(line);
        if (plainText)
            continue; // spoken whole: a comma would be read out as a pause only
        ASSERT_EQ(pieces.size(), 2) << qPrintable(name) << ": " << qPrintable(line);
        EXPECT_TRUE(standardAnimations().contains(pieces.at(1).trimmed().toLower()))
                << qPrintable(name) << ": " << qPrintable(pieces.at(1));
    }
}

INSTANTIATE_TEST_SUITE_P(Data, ShippedPhraseFile,
                         ::testing::Values(PhraseBook::Reminder, PhraseBook::Click,
                                           PhraseBook::Move, PhraseBook::Thinking, PhraseBook::Feed,
                                           PhraseBook::HideLine, PhraseBook::SearchWeb,
                                           PhraseBook::ReadText),
                         [](const auto &info) {
                             return info.param.section(u'.', 0, 0).toStdString();
                         });

TEST(ShippedTour, movesStayOnScreenAndAnimationsAreKnown)
{
    const auto steps = TourScript::load(shipped(TourScript::FileName));
    ASSERT_TRUE(steps.has_value());
    const QStringList lines = usableLines(TourScript::FileName);
    ASSERT_EQ(steps->size(), lines.size()) << "every line of the tour must run";
    int spoken = 0;
    for (const TourScript::Step &step : *steps) {
        if (step.kind == TourScript::Step::Kind::Move) {
            EXPECT_TRUE(step.xPercent >= 0 && step.xPercent <= 90) << step.xPercent;
            EXPECT_TRUE(step.yPercent >= 0 && step.yPercent <= 90) << step.yPercent;
            continue;
        }
        ++spoken;
        EXPECT_FALSE(step.text.trimmed().isEmpty());
        EXPECT_TRUE(standardAnimations().contains(step.animation.toLower()))
                << qPrintable(step.animation);
    }
    EXPECT_GE(spoken, 3);
}

} // namespace
