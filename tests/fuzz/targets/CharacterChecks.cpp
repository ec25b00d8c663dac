#include "CharacterChecks.h"

#include "FuzzSupport.h"
#include "agent/CharacterRenderer.h"

#include <QImage>
#include <algorithm>

namespace Fuzz {

void checkCharacter(const CharacterData &c, const QByteArray &input)
{
    const QString name = c.name;
    FUZZ_CHECK(!c.name.isEmpty() && c.frameSize.width() >= 8 && c.frameSize.height() >= 8, name);
    for (const int mouth : c.mouths)
        FUZZ_CHECK(mouth >= -1 && mouth < c.partCount(), name);
    for (const CharacterData::Animation &a : c.animations()) {
        FUZZ_CHECK(!a.frames.isEmpty() && c.animation(a.name) == &a, a.name);
        FUZZ_CHECK(a.returnAnimation.isEmpty() || c.animation(a.returnAnimation), a.name);
        for (const CharacterData::Frame &f : a.frames) {
            FUZZ_CHECK(f.durationMs > 0 && f.exitFrame < a.frames.size(), a.name);
            for (const CharacterData::Layer &l : f.layers)
                FUZZ_CHECK(c.partRenderer(l.part) != nullptr, a.name);
            for (const CharacterData::Branch &b : f.branches)
                FUZZ_CHECK(b.frame >= 0 && b.frame < a.frames.size(), a.name);
        }
    }
    for (const QString &state :
         {c.showAnimation, c.hideAnimation, c.restAnimation, c.attentionAnimation})
        FUZZ_CHECK(state.isEmpty() || c.animation(state), state);

    // Drawing every frame of a big character takes seconds: draw the first of a few, small.
    const CharacterRenderer renderer(
            std::shared_ptr<const CharacterData>(std::shared_ptr<const CharacterData>{}, &c));
    int drawn = 0;
    for (const CharacterData::Animation &a : c.animations()) {
        if (drawn++ == 3)
            break;
        const qreal scale = 32.0 / std::max(c.frameSize.width(), c.frameSize.height());
        const QImage image =
                renderer.render(a.name, 0, MouthShape(input.size() % MouthShapeCount), scale);
        FUZZ_CHECK(image.size() == renderer.pixelSize(scale, 1.0), a.name);
        FUZZ_CHECK(renderer.render(a.name, int(a.frames.size())).isNull(), a.name);
    }
}

} // namespace Fuzz
