#include "agent/BalloonLayout.h"

#include <algorithm>

QList<BalloonLayout::Line> BalloonLayout::wrap(const QString &text, const QFontMetrics &metrics,
                                               int width)
{
    // Word by word, each word and each gap measured once: a 20 KB text lays out in a few
    // milliseconds. Gaps are measured as written, as they are drawn: a run of spaces is wide.
    QList<Line> lines;
    const int size = int(text.size());
    const int average = std::max(1, metrics.averageCharWidth());
    int lineStart = -1;
    int lineEnd = 0;
    int lineWidth = 0;
    const auto close = [&] {
        if (lineStart >= 0)
            lines << Line{lineStart, text.mid(lineStart, lineEnd - lineStart)};
        lineStart = -1;
        lineWidth = 0;
    };
    int pos = 0;
    while (pos < size) {
        const QChar c = text.at(pos);
        if (c == u'\n') {
            if (lineStart < 0)
                lines << Line{pos, QString()};
            close();
            ++pos;
            continue;
        }
        if (c.isSpace()) {
            ++pos;
            continue;
        }
        int wordEnd = pos;
        while (wordEnd < size && !text.at(wordEnd).isSpace())
            ++wordEnd;
        int wordStart = pos;
        // No glyph is narrower than a pixel, so a word of more characters than the line has
        // pixels needs no measuring to know it must break.
        int wordWidth =
                wordEnd - wordStart > width
                        ? width + 1
                        : metrics.horizontalAdvance(text.mid(wordStart, wordEnd - wordStart));
        const int gap = lineStart >= 0
                                ? metrics.horizontalAdvance(text.mid(lineEnd, wordStart - lineEnd))
                                : 0;
        if (lineStart >= 0 && lineWidth + gap + wordWidth > width)
            close();
        // A word wider than a line is broken where it must be, each piece measured once.
        if (wordWidth > width) {
            if (lineStart >= 0)
                close();
            while (true) {
                // The longest piece that fits: a binary search between bounds found around
                // a guess from the average width, so each step measures about a line.
                const auto fitsIn = [&](int end) {
                    return metrics.horizontalAdvance(text.mid(wordStart, end - wordStart)) <= width;
                };
                const int guess = std::min(wordEnd, wordStart + std::max(1, width / average));
                int fits = wordStart + 1;
                int tooLong = std::min(wordEnd, wordStart + width + 1) + 1;
                if (fitsIn(guess)) {
                    fits = guess;
                    for (int step = std::max(2, (guess - wordStart) / 8); fits < wordEnd;
                         step *= 2) {
                        const int further = std::min(wordEnd, fits + step);
                        if (!fitsIn(further)) {
                            tooLong = further;
                            break;
                        }
                        fits = further;
                    }
                    if (fits == wordEnd)
                        tooLong = wordEnd + 1;
                } else {
                    tooLong = guess;
                }
                while (tooLong - fits > 1) {
                    const int middle = (fits + tooLong) / 2;
                    if (fitsIn(middle))
                        fits = middle;
                    else
                        tooLong = middle;
                }
                int cut = fits;
                if (cut < wordEnd && text.at(cut).isLowSurrogate())
                    ++cut;
                if (cut >= wordEnd)
                    break;
                lines << Line{wordStart, text.mid(wordStart, cut - wordStart)};
                wordStart = cut;
            }
            wordWidth = metrics.horizontalAdvance(text.mid(wordStart, wordEnd - wordStart));
        }
        if (wordStart < wordEnd) {
            if (lineStart < 0) {
                lineStart = wordStart;
                lineWidth = wordWidth;
            } else {
                lineWidth += gap + wordWidth;
            }
            lineEnd = wordEnd;
        }
        pos = wordEnd;
    }
    close();
    if (lines.isEmpty())
        lines << Line{0, QString()};
    return lines;
}

QString BalloonLayout::shownText(const QString &text)
{
    if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isSpace(); }))
        return {};
    // Only the beginning of a huge text is laid out (the voice still says all of it), so
    // a pasted megabyte costs no more than a page.
    QString shown = text.left(MaxLaidOutChars);
    if (shown.size() < text.size()) {
        if (shown.back().isHighSurrogate())
            shown.chop(1);
        shown += u'\u2026';
    }
    // Tabs and other blanks are drawn as spaces, so they are measured as spaces.
    for (QChar &c : shown) {
        if (c.isSpace() && c != u'\n')
            c = u' ';
    }
    return shown;
}

BalloonLayout BalloonLayout::compute(const QString &text, const QFontMetrics &metrics,
                                     const QRect &character, const QRect &screen)
{
    BalloonLayout layout = measure(text, metrics, screen.width());
    layout.place(character, screen);
    return layout;
}

BalloonLayout BalloonLayout::measure(const QString &text, const QFontMetrics &metrics,
                                     int screenWidth)
{
    BalloonLayout layout;
    const int maxWidth = std::min(metrics.averageCharWidth() * MaxCharsPerLine,
                                  std::max(40, screenWidth - 2 * Padding));
    layout.lines = wrap(shownText(text), metrics, maxWidth);
    int textWidth = 0;
    for (const Line &line : layout.lines)
        textWidth = std::max(textWidth, metrics.horizontalAdvance(line.text));
    layout.lineHeight = metrics.lineSpacing();
    const int shown = std::min<int>(int(layout.lines.size()), MaxVisibleLines);
    layout.body = QRect(0, 0, std::max(textWidth, metrics.averageCharWidth() * 4) + 2 * Padding,
                        shown * layout.lineHeight + 2 * Padding);
    return layout;
}

void BalloonLayout::place(const QRect &character, const QRect &screen)
{
    const QSize bodySize = body.size();
    const QSize windowSize(bodySize.width(), bodySize.height() + TailHeight);

    const int roomAbove = character.top() - screen.top();
    const int roomBelow = screen.bottom() - character.bottom();
    below = roomAbove < windowSize.height() + Gap && roomBelow > roomAbove;
    int y = below ? character.bottom() + 1 + Gap : character.top() - Gap - windowSize.height();
    y = std::clamp(y, screen.top(),
                   std::max(screen.top(), screen.bottom() + 1 - windowSize.height()));
    int x = character.center().x() - windowSize.width() / 2;
    x = std::clamp(x, screen.left(),
                   std::max(screen.left(), screen.right() + 1 - windowSize.width()));
    window = QRect(QPoint(x, y), windowSize);
    body = QRect(QPoint(0, below ? TailHeight : 0), bodySize);

    // The tail points at the character's head, kept within the bubble's straight edge.
    const int tipX = std::clamp(character.center().x() - x, Padding, bodySize.width() - Padding);
    tailTip = below ? QPoint(tipX, 0) : QPoint(tipX, windowSize.height() - 1);
}

int BalloonLayout::readingMs(const QString &text)
{
    // About 25 characters a second with a second to take it in: a refusal gets two
    // seconds, a joke five.
    return int(std::clamp<qint64>(1000 + 40 * qint64(text.size()), MinReadingMs, MaxReadingMs));
}

int BalloonLayout::firstVisibleLine(int offset) const
{
    int line = 0;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines.at(i).start <= offset)
            line = i;
    }
    return std::clamp(line - MaxVisibleLines + 1, 0,
                      std::max(0, int(lines.size()) - MaxVisibleLines));
}
