#pragma once

#include "agent/CharacterData.h"

#include <QImage>
#include <memory>
#include <optional>

class QPainter;

// Draws frames of a decoded character. Cheap to copy; every copy shares the character.
class CharacterRenderer final
{
public:
    explicit CharacterRenderer(std::shared_ptr<const CharacterData> character);

    const std::shared_ptr<const CharacterData> &character() const { return m_character; }

    // Paints a frame in logical frame coordinates, (0,0) to frameSize(). A mouth shape
    // replaces the frame's own mouth; frames without a mouth slot ignore it.
    void paint(QPainter &painter, const CharacterData::Frame &frame,
               std::optional<MouthShape> mouth = std::nullopt) const;

    // The frame as an ARGB32_Premultiplied image of frameSize() * scale logical pixels at
    // the given device pixel ratio (the image carries that ratio).
    QImage render(const CharacterData::Frame &frame, std::optional<MouthShape> mouth = std::nullopt,
                  qreal scale = 1.0, qreal devicePixelRatio = 1.0) const;
    // Frame `index` of an animation; a null image when there is no such frame.
    QImage render(const QString &animation, int index,
                  std::optional<MouthShape> mouth = std::nullopt, qreal scale = 1.0,
                  qreal devicePixelRatio = 1.0) const;

    // Device pixels of a rendered frame.
    QSize pixelSize(qreal scale, qreal devicePixelRatio) const;

private:
    std::shared_ptr<const CharacterData> m_character;
};
