#pragma once

#include "CharacterSource.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <optional>

// The shared standard animation set: keyframed transforms of rig joints with easing,
// sampled into frames for one character.
class AnimationScript final
{
public:
    enum class Ease { InOut, In, Out, Linear, Back, Step };

    struct Pose
    {
        std::optional<double> x, y, r, sx, sy, o;
    };

    struct Key
    {
        double ms = 0;
        Pose pose;
        Ease ease = Ease::InOut;
    };

    struct Track
    {
        QString joint;
        QList<Key> keys;
    };

    struct Script
    {
        QString name;
        double lengthMs = 0;
        int fps = 15;
        bool loops = false;
        QString returnAnimation;
        QList<Track> tracks;
        QList<QPair<double, QString>> mouth; // times and mouth parts, held until the next
        QList<double> blinks;                // times of blinks
        bool breathes = false;
        // Asked to end early between these times, the animation skips ahead to the second.
        double exitFromMs = -1, exitToMs = -1;
    };

    struct States
    {
        QString show, hide, rest, attention;
        QStringList idle[3];
        QString move[4];
    };

    bool parse(const QByteArray &json, QString *error);
    // Adds every animation and the states to the source's character.
    bool build(CharacterSource &source, QString *error) const;

    const QList<Script> &scripts() const { return m_scripts; }

private:
    CharacterData::Animation sample(const Script &script, const CharacterSource &source) const;

    QList<Script> m_scripts;
    States m_states;
};
