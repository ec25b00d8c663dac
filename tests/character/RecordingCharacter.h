#pragma once

#include "character/CharacterActions.h"

#include <QPoint>
#include <QString>
#include <QStringList>
#include <ostream>

// Readable QString values in test failure messages.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// Writes down what the character was asked to do, one entry per request, in order
// ("play:Wave", "speak:Hello", "think:Hm", "show", "stopAll", "move:10,20").
class RecordingCharacter final : public CharacterActions
{
public:
    void play(const QString &animation) override { log << QStringLiteral("play:") + animation; }
    void speakText(const QString &text) override { log << QStringLiteral("speak:") + text; }
    void think(const QString &text) override { log << QStringLiteral("think:") + text; }
    void showCharacter() override { log << QStringLiteral("show"); }
    void stopAll() override { log << QStringLiteral("stopAll"); }
    void moveTo(const QPoint &p) override
    {
        log << QStringLiteral("move:%1,%2").arg(p.x()).arg(p.y());
    }

    QStringList take()
    {
        QStringList taken = log;
        log.clear();
        return taken;
    }

    QStringList log;
};
