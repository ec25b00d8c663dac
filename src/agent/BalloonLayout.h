#pragma once

#include <QFontMetrics>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

// Where the word balloon goes and how its text breaks into lines: sized to the text (up to
// a line length and a number of lines; longer texts scroll), placed above the character
// with its tail at the head, or below when there is no room above, and always inside the
// screen's available area.
class BalloonLayout final
{
public:
    static constexpr int MaxCharsPerLine = 32;
    static constexpr int MaxVisibleLines = 5;
    static constexpr int Padding = 10;
    static constexpr int TailHeight = 16;
    static constexpr int Gap = 2; // between tail tip and the character
    // Characters of a text laid out at most; the rest is spoken but not shown.
    static constexpr int MaxLaidOutChars = 5000;

    struct Line
    {
        int start = 0; // offset in the text
        QString text;
    };

    QList<Line> lines;
    QRect window;       // the balloon window on screen, tail included
    QRect body;         // the bubble inside the window, window coordinates
    QPoint tailTip;     // window coordinates
    bool below = false; // the balloon hangs below the character
    int lineHeight = 0;

    static BalloonLayout compute(const QString &text, const QFontMetrics &metrics,
                                 const QRect &character, const QRect &screen);
    // The two halves of compute(): breaking the text for a screen of this width (costly for
    // a long text), then placing the bubble beside the character (cheap, for every move).
    static BalloonLayout measure(const QString &text, const QFontMetrics &metrics, int screenWidth);
    void place(const QRect &character, const QRect &screen);
    // The part of a text the balloon lays out: its first MaxLaidOutChars characters (and an
    // ellipsis when there is more), every blank but a line break as a space.
    static QString shownText(const QString &text);
    // Breaks text into lines no wider than `width` pixels, at spaces where possible.
    static QList<Line> wrap(const QString &text, const QFontMetrics &metrics, int width);
    // How long a text stays readable once all of it is out: it grows with the length,
    // from MinReadingMs to MaxReadingMs.
    static constexpr int MinReadingMs = 1500;
    static constexpr int MaxReadingMs = 12000;
    static int readingMs(const QString &text);
    // The first line to show so that the line holding `offset` is visible.
    int firstVisibleLine(int offset) const;
};
