#pragma once

#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>
#include <optional>

class CharacterActions;

// The first-run tour ("readonce.txt"): each line either moves the character
// ("MOVE@,x%,y%") or names a text and the animation to play with it ("text,animation").
class TourScript final
{
public:
    struct Step
    {
        enum class Kind { Move, Speak };
        Kind kind = Kind::Speak;
        double xPercent = 0;
        double yPercent = 0;
        QString text;
        QString animation; // empty: speak without an animation
    };

    static inline const QString FileName = QStringLiteral("readonce.txt");

    // Lines that cannot be run (empty, or a move with too few fields) are left out.
    static QList<Step> parse(const QString &script);
    // std::nullopt when the file does not exist: then there is no tour at all.
    static std::optional<QList<Step>> load(const QString &path);

    // A percentage as the tour writes it: the leading number, 0 when there is none.
    static double percent(const QString &field);
    // Where a move step puts the character on a screen of `screen` pixels.
    static QPoint target(const Step &step, const QSize &screen);

    // Queues every step on the character; it does not wait for one step to end.
    static void perform(const QList<Step> &steps, CharacterActions &character, const QSize &screen);
};
