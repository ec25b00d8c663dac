#include "agent/BalloonLayout.h"

#include <algorithm>

QList<BalloonLayout::Line> BalloonLayout::wrap(const QString &text, const QFontMetrics &metrics,
                                               int width)
{
    QList<Line> lines;
    const int size = int(text.size());
    int start = 0;
    while (start < size) {
        // Explicit line breaks end a line.
        int hardEnd = int(text.indexOf(u'\n', start));
        if (hardEnd < 0)
            hardEnd = size;
        int end = start;
        int lastSpace = -1;
        while (end < hardEnd) {
            int next = end + 1;
            if (text.at(end).isHighSurrogate() && next < hardEnd)
                ++next;
            if (metrics.horizontalAdvance(text.mid(start, next - start)) > width && end > start)
                break;
            if (text.at(end).isSpace())
                lastSpace = end;
            end = next;
        }
        int lineEnd = end;
        int nextStart = end;
        if (end < hardEnd && lastSpace > start) {
            lineEnd = lastSpace;
            nextStart = lastSpace + 1;
        } else if (end >= hardEnd) {
            nextStart = hardEnd + 1;
        }
        lines << Line{start, text.mid(start, lineEnd - start).trimmed()};
        start = nextStart;
        while (start < size && start < hardEnd && text.at(start) == u' ')
            ++start;
    }
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
