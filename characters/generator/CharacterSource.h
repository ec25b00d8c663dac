#pragma once

#include "agent/CharacterData.h"

#include <QHash>
#include <QList>
#include <QPointF>
#include <QString>
#include <memory>

// One character's sources: identity, rig of joints, vector parts in drawing order and the
// personality factors that shape the shared animation set.
class CharacterSource final
{
public:
    struct Joint
    {
        QString id;
        int parent = -1; // parents come before their children
        QPointF pivot;   // rotations and scales happen around it
        double opacity = 1.0;
    };

    // One entry of the drawing order, back to front.
    struct Slot
    {
        int part = -1; // -1: the mouth slot, drawn with the mouth part of the moment
        int joint = -1;
        QPointF at; // the part's origin in frame coordinates
    };

    // Reads DIR/character.json, its SVG parts and the shared props beside DIR.
    static std::unique_ptr<CharacterSource> load(const QString &dir, QString *error);

    QString outputFile;                       // "Wobbo_Mini.acs"
    std::shared_ptr<CharacterData> character; // identity and parts; no animations yet
    QList<Joint> joints;
    QList<Slot> drawOrder;
    QHash<QString, int> mouthParts; // "closed", "smile", ... -> part index
    double tempo = 1.0;             // > 1 slows every animation down
    double amplitude = 1.0;         // > 1 makes every gesture bigger
    double fit = 1.0; // scales the whole figure about its feet to leave room for jumps

    int joint(const QString &id) const;
};
