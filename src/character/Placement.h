#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <functional>
#include <optional>

// Where PlaceCharacter puts a character: the home position codes, the task-bar case and the
// clamps that keep twice the character's size clear of the right and bottom edges.
class Placement final
{
public:
    enum Code {
        Random = 0,
        TopRight = 1,
        TopLeft = 2,
        BottomRight = 3,
        BottomLeft = 4,
        AboveTaskBar = 5,
    };

    // A number in [0, 1); the program's is QRandomGenerator::global().
    using RandomSource = std::function<double()>;

    // The task bar of a screen: the strip of `screen` outside `available`. A bottom panel
    // gives its strip; a panel on another edge gives a strip whose top is the screen's top
    // (treated as no task bar below); no panel at all gives std::nullopt.
    static std::optional<QRect> taskBar(const QRect &screen, const QRect &available);

    // The top-left corner for a character of `character` pixels on `screen` (global
    // pixels). Unknown codes go to the top-left corner.
    static QPoint target(int code, const QRect &screen, const QSize &character,
                         const std::optional<QRect> &taskBar, const RandomSource &random);

    static RandomSource systemRandom();
};
