#include "agent/BalloonLayout.h"

#include "agent/BalloonWindow.h"

#include <QCursor>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
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

struct BlankRow
{
    const char *name;
    QString text;
    int screenWidth;
};

class BalloonWithBlanks : public ::testing::TestWithParam<BlankRow>
{
};

// Blanks are drawn as written, so they are measured as written: no line is wider than the
// bubble and the bubble stays on the screen.
TEST_P(BalloonWithBlanks, LinesFitAndTheBalloonStaysOnScreen)
{
    const QFontMetrics metrics{QFont()};
    const QRect screen(0, 0, GetParam().screenWidth, 770);
    const QRect character(QPoint(screen.width() / 2 - 64, 400), kCharacter);
    const BalloonLayout layout =
            BalloonLayout::compute(GetParam().text, metrics, character, screen);
    const int inside = layout.body.width() - 2 * BalloonLayout::Padding;
    for (const BalloonLayout::Line &line : layout.lines)
        EXPECT_LE(metrics.horizontalAdvance(line.text), inside) << line.text.toStdString();
    EXPECT_TRUE(screen.contains(layout.window)) << layout.window.width();
    EXPECT_GT(layout.lines.size(), 1);
}

INSTANTIATE_TEST_SUITE_P(
        Rows, BalloonWithBlanks,
        ::testing::Values(BlankRow{"SpaceRuns",
                                   QString(QStringLiteral("Ha!") + QString(20, u' ') +
                                           QStringLiteral("That was a good one, was it not?") +
                                           QString(30, u' ') + QStringLiteral("Ha ha.")),
                                   1280},
                          BlankRow{"Tabs",
                                   QStringLiteral("one\t\t\t\t\t\ttwo\t\t\t\t\t\tthree\t\t\t\t\t\tf"
                                                  "our\t\t\t\t\tfive"),
                                   1280},
                          BlankRow{"RunWiderThanTheScreen",
                                   QString(QStringLiteral("left") + QString(400, u' ') +
                                           QStringLiteral("right")),
                                   300},
                          BlankRow{"NarrowScreen",
                                   QStringLiteral("a  b  c  d  e  f  g  h  i  j  k  l  m  n  o  p"),
                                   120}),
        [](const ::testing::TestParamInfo<BlankRow> &info) {
            return std::string(info.param.name);
        });

TEST(BalloonLayout, AHugeTextIsLaidOutOnlyAsFarAsTheCap)
{
    const QFontMetrics metrics{QFont()};
    const QString text(1024 * 1024, u'x');
    const BalloonLayout layout =
            BalloonLayout::compute(text, metrics, QRect(QPoint(600, 400), kCharacter), kScreen);
    QString joined;
    for (const BalloonLayout::Line &line : layout.lines)
        joined += line.text;
    EXPECT_EQ(joined, QString(QString(BalloonLayout::MaxLaidOutChars, u'x') + u'\u2026'));
    EXPECT_TRUE(kScreen.contains(layout.window));
    // The spoken end of the text scrolls to the last lines laid out.
    EXPECT_EQ(layout.firstVisibleLine(int(text.size()) - 1),
              layout.lines.size() - BalloonLayout::MaxVisibleLines);
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

TEST(BalloonWindow, StaysForItsReadingTimeAndWhileThePointerRestsOnIt)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect character(area.center(), kCharacter);
    BalloonWindow balloon;
    const QString joke = QStringLiteral(
            "Why did the calendar feel popular? Because its days were all booked up!");
    // Spoken: the reading time starts with the last word.
    balloon.present(joke, false, character);
    balloon.reveal(int(joke.size()));
    balloon.finish();
    const int jokeLinger = balloon.lingerRemainingMs();
    EXPECT_GT(jokeLinger, 3500);
    balloon.present(QStringLiteral("No."), false, character);
    balloon.reveal(3);
    balloon.finish();
    EXPECT_GE(balloon.lingerRemainingMs(), BalloonLayout::MinReadingMs - 100);
    EXPECT_LT(balloon.lingerRemainingMs(), jokeLinger);

    // The pointer on the bubble keeps it up past its time; it goes once the pointer leaves.
    QCursor::setPos(balloon.mapToGlobal(balloon.layout().body.center()));
    QTest::qWait(BalloonLayout::MinReadingMs + 600);
    EXPECT_TRUE(balloon.isVisible());
    QCursor::setPos(area.topLeft());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !balloon.isVisible(); }, 2000));
}

// The window breaks its text once and only places it as the character moves: wherever the
// character goes (flipping the bubble below and back), it matches a layout made afresh.
TEST(BalloonWindow, FollowingMatchesAFreshLayout)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QString text = QStringLiteral("It is time for the dentist. Please leave now, and take "
                                        "the umbrella, it looks like rain this afternoon.");
    BalloonWindow balloon;
    balloon.present(text, false, QRect(area.center(), kCharacter));
    for (const QPoint at : {area.topLeft(), area.center(), area.bottomRight() - QPoint(128, 128),
                            area.topLeft() + QPoint(area.width() - 40, 10)}) {
        const QRect character(at, kCharacter);
        balloon.follow(character);
        const BalloonLayout fresh =
                BalloonLayout::compute(text, QFontMetrics(QFont()), character, area);
        EXPECT_EQ(balloon.layout().window, fresh.window) << at.x() << "," << at.y();
        EXPECT_EQ(balloon.layout().body, fresh.body);
        EXPECT_EQ(balloon.layout().tailTip, fresh.tailTip);
        EXPECT_EQ(balloon.layout().below, fresh.below);
    }
}

} // namespace
