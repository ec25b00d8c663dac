#include "character/Placement.h"

#include <QRandomGenerator>
#include <cmath>

std::optional<QRect> Placement::taskBar(const QRect &screen, const QRect &available)
{
    if (available == screen || available.isEmpty())
        return std::nullopt;
    if (available.bottom() < screen.bottom())
        return QRect(QPoint(screen.left(), available.bottom() + 1), screen.bottomRight());
    if (available.top() > screen.top())
        return QRect(screen.topLeft(), QPoint(screen.right(), available.top() - 1));
    if (available.left() > screen.left())
        return QRect(screen.topLeft(), QPoint(available.left() - 1, screen.bottom()));
    return QRect(QPoint(available.right() + 1, screen.top()), screen.bottomRight());
}

QPoint Placement::target(int code, const QRect &screen, const QSize &character,
                         const std::optional<QRect> &taskBar, const RandomSource &random)
{
    const int W = screen.width();
    const int H = screen.height();
    const int cw = character.width();
    const int ch = character.height();
    const auto scaled = [](double r, int extent) {
        return static_cast<int>(std::lround(r * extent));
    };
    int x = 0;
    int y = 0;
    switch (code) {
    case Random:
        x = scaled(random(), W);
        y = scaled(random(), H);
        break;
    case TopRight:
        x = W;
        break;
    case TopLeft:
        break;
    case BottomRight:
        x = W;
        y = H;
        break;
    case BottomLeft:
        y = scaled(random(), H);
        break;
    case AboveTaskBar:
        if (!taskBar)
            break;
        x = W - cw;
        y = H - ch;
        // Only a bar along the bottom lifts the character; one at the top starts at 0.
        if (taskBar->top() - screen.top() >= 1)
            y -= taskBar->height();
        break;
    default:
        break;
    }
    // The margin is twice the character's size, not once.
    if (x + 2 * cw > W)
        x = W - 2 * cw;
    if (y + 2 * ch > H)
        y = H - 2 * ch;
    return screen.topLeft() + QPoint(x, y);
}

Placement::RandomSource Placement::systemRandom()
{
    return [] {
        return QRandomGenerator::global()->generateDouble();
    };
}
