#include "agent/CharacterRenderer.h"

#include <QPainter>
#include <QSvgRenderer>
#include <cmath>

CharacterRenderer::CharacterRenderer(std::shared_ptr<const CharacterData> character)
    : m_character(std::move(character))
{}

void CharacterRenderer::paint(QPainter &painter, const CharacterData::Frame &frame,
                              std::optional<MouthShape> mouth) const
{
    const CharacterData &c = *m_character;
    const QTransform base = painter.worldTransform();
    const qreal baseOpacity = painter.opacity();
    for (const CharacterData::Layer &layer : frame.layers) {
        int part = layer.part;
        if (layer.mouth && mouth) {
            const int shape = c.mouths[size_t(*mouth)];
            if (shape >= 0)
                part = shape;
        }
        QSvgRenderer *svg = c.partRenderer(part);
        if (!svg || layer.opacity <= 0.0)
            continue;
        painter.setWorldTransform(layer.transform * base);
        painter.setOpacity(baseOpacity * layer.opacity);
        svg->render(&painter, svg->viewBoxF());
    }
    painter.setWorldTransform(base);
    painter.setOpacity(baseOpacity);
}

QSize CharacterRenderer::pixelSize(qreal scale, qreal devicePixelRatio) const
{
    const qreal factor = scale * devicePixelRatio;
    const QSize logical = m_character->frameSize;
    return QSize(int(std::ceil(logical.width() * factor - 1e-6)),
                 int(std::ceil(logical.height() * factor - 1e-6)));
}

QImage CharacterRenderer::render(const CharacterData::Frame &frame, std::optional<MouthShape> mouth,
                                 qreal scale, qreal devicePixelRatio) const
{
    if (scale <= 0.0 || devicePixelRatio <= 0.0)
        return {};
    QImage image(pixelSize(scale, devicePixelRatio), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.scale(scale * devicePixelRatio, scale * devicePixelRatio);
        paint(painter, frame, mouth);
    }
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

QImage CharacterRenderer::render(const QString &animation, int index,
                                 std::optional<MouthShape> mouth, qreal scale,
                                 qreal devicePixelRatio) const
{
    const CharacterData::Animation *a = m_character->animation(animation);
    if (!a || index < 0 || index >= a->frames.size())
        return {};
    return render(a->frames[index], mouth, scale, devicePixelRatio);
}
