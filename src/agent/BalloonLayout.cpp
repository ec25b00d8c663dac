#include "agent/BalloonLayout.h"

#include <algorithm>

QList<BalloonLayout::Line> BalloonLayout::wrap(const QString &text, const QFontMetrics &metrics,
                                               int width)
{
    // Word by word, each word measured once: a 20 KB text lays out in a few milliseconds.
    QList<Line> lines;
    const int size = int(text.size());
    const int space = metrics.horizontalAdvance(u' ');
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
        int wordWidth = metrics.horizontalAdvance(text.mid(wordStart, wordEnd - wordStart));
        if (lineStart >= 0 && lineWidth + space + wordWidth > width)
            close();
        // A word wider than a line is broken where it must be, each piece measured once.
        if (wordWidth > width) {
            if (lineStart >= 0)
                close();
            while (true) {
                // The longest piece that fits: a binary search, as no glyph is under 1 px.
                int fits = wordStart + 1;
                int tooLong = std::min(wordEnd, wordStart + width + 1) + 1;
                while (tooLong - fits > 1) {
                    const int middle = (fits + tooLong) / 2;
                    if (metrics.horizontalAdvance(text.mid(wordStart, middle - wordStart)) <= width)
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
                lineWidth += space + wordWidth;
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

BalloonLayout BalloonLayout::compute(const QString &text, const QFontMetrics &metrics,
                                     const QRect &character, const QRect &screen)
{
    BalloonLayout layout;
    const int maxWidth = std::min(metrics.averageCharWidth() * MaxCharsPerLine,
                                  std::max(40, screen.width() - 2 * Padding));
    layout.lines = wrap(text.simplified().isEmpty() ? QString() : text, metrics, maxWidth);
    int textWidth = 0;
    for (const Line &line : layout.lines)
        textWidth = std::max(textWidth, metrics.horizontalAdvance(line.text));
    layout.lineHeight = metrics.lineSpacing();
    const int shown = std::min<int>(int(layout.lines.size()), MaxVisibleLines);
    const QSize bodySize(std::max(textWidth, metrics.averageCharWidth() * 4) + 2 * Padding,
                         shown * layout.lineHeight + 2 * Padding);
    const QSize windowSize(bodySize.width(), bodySize.height() + TailHeight);

    const int roomAbove = character.top() - screen.top();
    const int roomBelow = screen.bottom() - character.bottom();
    layout.below = roomAbove < windowSize.height() + Gap && roomBelow > roomAbove;
    int y = layout.below ? character.bottom() + 1 + Gap
                         : character.top() - Gap - windowSize.height();
    y = std::clamp(y, screen.top(),
                   std::max(screen.top(), screen.bottom() + 1 - windowSize.height()));
    int x = character.center().x() - windowSize.width() / 2;
    x = std::clamp(x, screen.left(),
                   std::max(screen.left(), screen.right() + 1 - windowSize.width()));
    layout.window = QRect(QPoint(x, y), windowSize);
    layout.body =
            layout.below ? QRect(QPoint(0, TailHeight), bodySize) : QRect(QPoint(0, 0), bodySize);

    // The tail points at the character's head, kept within the bubble's straight edge.
    const int tipX = std::clamp(character.center().x() - x, Padding, bodySize.width() - Padding);
    layout.tailTip = layout.below ? QPoint(tipX, 0) : QPoint(tipX, windowSize.height() - 1);
    return layout;
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
