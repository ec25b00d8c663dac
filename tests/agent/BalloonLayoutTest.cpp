#include "agent/BalloonLayout.h"

#include <QFont>
#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {

const QRect kScreen(0, 0, 1280, 770); // available area above a 30 px panel
const QSize kCharacter(128, 128);

struct EdgeRow
{
    const char *name;
    QPoint character; // top-left
    bool below;
};

class BalloonOnScreenEdges : public ::testing::TestWithParam<EdgeRow>
{
};

TEST_P(BalloonOnScreenEdges, StaysOnScreenAndPointsAtTheCharacter)
{
    const EdgeRow &row = GetParam();
    const QFontMetrics metrics{QFont()};
    const QRect character(row.character, kCharacter);
    const BalloonLayout layout = BalloonLayout::compute(
            QStringLiteral("It is time for the dentist. Please leave now, and take the umbrella."),
            metrics, character, kScreen);

    EXPECT_TRUE(kScreen.contains(layout.window)) << row.name;
    EXPECT_EQ(layout.below, row.below);
    // The bubble does not cover the character.
    EXPECT_FALSE(layout.body.translated(layout.window.topLeft()).intersects(character));
    // The tail tip is at the bubble's edge facing the character, over its head.
    const QPoint tip = layout.tailTip + layout.window.topLeft();
    EXPECT_EQ(tip.y(), row.below ? layout.window.top() : layout.window.bottom());
    EXPECT_GE(tip.x(), layout.window.left() + BalloonLayout::Padding);
    EXPECT_LE(tip.x(), layout.window.right() - BalloonLayout::Padding + 1);
    if (character.center().x() > layout.window.left() + BalloonLayout::Padding &&
        character.center().x() < layout.window.right() - BalloonLayout::Padding) {
        EXPECT_EQ(tip.x(), character.center().x());
    }
    EXPECT_LE(std::abs(tip.y() - (row.below ? character.bottom() : character.top())),
              BalloonLayout::Gap + 1);
}

INSTANTIATE_TEST_SUITE_P(
        Rows, BalloonOnScreenEdges,
        ::testing::Values(EdgeRow{"middle", QPoint(600, 400), false},
                          EdgeRow{"top_edge", QPoint(600, 0), true},
                          EdgeRow{"top_left_corner", QPoint(0, 0), true},
                          EdgeRow{"left_edge", QPoint(0, 400), false},
                          EdgeRow{"right_edge", QPoint(1152, 400), false},
                          EdgeRow{"bottom_right_above_panel", QPoint(1152, 642), false},
                          EdgeRow{"partly_off_the_right", QPoint(1240, 300), false}),
        [](const ::testing::TestParamInfo<EdgeRow> &info) { return std::string(info.param.name); });

TEST(BalloonLayout, SizesToTheTextUpToALineLength)
{
    const QFontMetrics metrics{QFont()};
    const QRect character(QPoint(600, 400), kCharacter);
    const BalloonLayout shortText =
            BalloonLayout::compute(QStringLiteral("Hi!"), metrics, character, kScreen);
    const BalloonLayout longText = BalloonLayout::compute(
            QStringLiteral("This is a much longer sentence that has to wrap over several lines."),
            metrics, character, kScreen);
    EXPECT_EQ(shortText.lines.size(), 1);
    EXPECT_LT(shortText.window.width(), longText.window.width());
    EXPECT_GT(longText.lines.size(), 1);
    EXPECT_LE(longText.window.width(), metrics.averageCharWidth() * BalloonLayout::MaxCharsPerLine +
                                               2 * BalloonLayout::Padding + metrics.maxWidth());
    EXPECT_GT(longText.window.height(), shortText.window.height());
}

TEST(BalloonLayout, WrapsAtSpacesKeepsEveryWordAndBreaksLongWords)
{
    const QFontMetrics metrics{QFont()};
    const QString text = QStringLiteral("one two three https://example.org/a/very/long/address/"
                                        "that/cannot/break/at/a/space four\nfive");
    const int width = metrics.averageCharWidth() * 20;
    const QList<BalloonLayout::Line> lines = BalloonLayout::wrap(text, metrics, width);
    QString joined;
    for (const BalloonLayout::Line &line : lines) {
        EXPECT_LE(metrics.horizontalAdvance(line.text), width) << line.text.toStdString();
        EXPECT_EQ(text.mid(line.start, line.text.size()), line.text);
        joined += line.text;
    }
    QString compact = text;
    compact.remove(u' ').remove(u'\n');
    EXPECT_EQ(joined.remove(u' '), compact);
    EXPECT_EQ(lines.last().text, QStringLiteral("five"));
}

TEST(BalloonLayout, ATwentyKilobyteWordStillLaysOut)
{
    const QFontMetrics metrics{QFont()};
    const QString text(20000, u'x');
    const BalloonLayout layout =
            BalloonLayout::compute(text, metrics, QRect(QPoint(600, 400), kCharacter), kScreen);
    int total = 0;
    for (const BalloonLayout::Line &line : layout.lines)
        total += int(line.text.size());
    EXPECT_EQ(total, 20000);
    EXPECT_TRUE(kScreen.contains(layout.window));
}

TEST(BalloonLayout, LongTextsScrollToTheSpokenLine)
{
    const QFontMetrics metrics{QFont()};
    QString text;
    for (int i = 0; i < 40; ++i)
        text += QStringLiteral("word%1 ").arg(i);
    const BalloonLayout layout =
            BalloonLayout::compute(text, metrics, QRect(QPoint(600, 400), kCharacter), kScreen);
    ASSERT_GT(layout.lines.size(), BalloonLayout::MaxVisibleLines);
    EXPECT_EQ(layout.window.height(), BalloonLayout::MaxVisibleLines * layout.lineHeight +
                                              2 * BalloonLayout::Padding +
                                              BalloonLayout::TailHeight);
    EXPECT_EQ(layout.firstVisibleLine(0), 0);
    const int lastStart = layout.lines.last().start;
    EXPECT_EQ(layout.firstVisibleLine(lastStart),
              layout.lines.size() - BalloonLayout::MaxVisibleLines);
}

} // namespace
