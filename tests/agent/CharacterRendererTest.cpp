#include "agent/CharacterRenderer.h"

#include "FormatTestCharacter.h"

#include <gtest/gtest.h>

namespace {

QColor at(const QImage &image, int x, int y)
{
    return image.pixelColor(x, y);
}

const CharacterData::Frame &frame(const CharacterRenderer &r, const char *animation, int index)
{
    return r.character()->animation(QLatin1String(animation))->frames[index];
}

} // namespace

TEST(CharacterRenderer, DrawsPartsWhereTheirTransformsPutThem)
{
    const CharacterRenderer r(FormatTestCharacter::make());
    const QImage image = r.render(QStringLiteral("RestPose"), 0);
    ASSERT_EQ(image.size(), QSize(40, 40));
    EXPECT_EQ(image.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(at(image, 5, 5), QColor(Qt::red));
    EXPECT_EQ(at(image, 25, 25), QColor(Qt::blue)); // the frame's own mouth
    EXPECT_EQ(at(image, 15, 15).alpha(), 0);

    const QImage slid = r.render(QStringLiteral("slide"), 1);
    EXPECT_EQ(at(slid, 5, 5).alpha(), 0);
    EXPECT_NEAR(at(slid, 35, 5).alpha(), 128, 2) << "half opacity";
    const QImage scaled = r.render(QStringLiteral("Slide"), 2);
    EXPECT_EQ(at(scaled, 19, 39), QColor(Qt::red)) << "a 2x scale makes the square 20 px";
    EXPECT_EQ(at(scaled, 21, 21).alpha(), 0);
}

TEST(CharacterRenderer, MouthShapesReplaceOnlyTheMouthSlot)
{
    const CharacterRenderer r(FormatTestCharacter::make());
    const QImage wide = r.render(frame(r, "RestPose", 0), MouthShape::Wide4);
    EXPECT_EQ(at(wide, 25, 25), QColor(Qt::green));
    EXPECT_EQ(at(wide, 5, 5), QColor(Qt::red));
    // A shape the character does not have keeps the frame's own mouth.
    EXPECT_EQ(at(r.render(frame(r, "RestPose", 0), MouthShape::Narrow), 25, 25), QColor(Qt::blue));
    // A frame without a mouth slot cannot speak and ignores the shape.
    const CharacterData::Frame &mute = frame(r, "Slide", 2);
    EXPECT_FALSE(mute.canSpeak());
    EXPECT_TRUE(frame(r, "RestPose", 0).canSpeak());
    EXPECT_EQ(r.render(mute, MouthShape::Wide4), r.render(mute));
}

TEST(CharacterRenderer, ScaleAndDevicePixelRatioStayCrisp)
{
    const CharacterRenderer r(FormatTestCharacter::make());
    const CharacterData::Frame &rest = frame(r, "RestPose", 0);

    const QImage hidpi = r.render(rest, std::nullopt, 1.0, 2.0);
    EXPECT_EQ(hidpi.size(), QSize(80, 80));
    EXPECT_DOUBLE_EQ(hidpi.devicePixelRatio(), 2.0);
    EXPECT_EQ(at(hidpi, 19, 19), QColor(Qt::red));
    EXPECT_EQ(at(hidpi, 20, 20).alpha(), 0) << "the edge falls on a device pixel, no blur";
    EXPECT_EQ(at(hidpi, 50, 50), QColor(Qt::blue));

    const QImage odd = r.render(rest, std::nullopt, 3.0, 1.5);
    EXPECT_EQ(odd.size(), QSize(180, 180));
    EXPECT_EQ(at(odd, 44, 44), QColor(Qt::red));
    EXPECT_EQ(at(odd, 45, 45).alpha(), 0);

    EXPECT_EQ(r.render(rest, std::nullopt, 0.5, 2.0).size(), QSize(40, 40));
    EXPECT_EQ(r.pixelSize(1.25, 1.0), QSize(50, 50));
}

TEST(CharacterRenderer, MissingFramesAndBadScalesGiveNullImages)
{
    const CharacterRenderer r(FormatTestCharacter::make());
    EXPECT_TRUE(r.render(QStringLiteral("Nope"), 0).isNull());
    EXPECT_TRUE(r.render(QStringLiteral("RestPose"), 1).isNull());
    EXPECT_TRUE(r.render(QStringLiteral("RestPose"), -1).isNull());
    EXPECT_TRUE(r.render(frame(r, "RestPose", 0), std::nullopt, 0.0).isNull());
    EXPECT_TRUE(r.render(frame(r, "RestPose", 0), std::nullopt, 1.0, -1.0).isNull());
}

TEST(CharacterRenderer, CopiesShareOneDecodedCharacter)
{
    const auto character = FormatTestCharacter::make();
    const CharacterRenderer a(character);
    const CharacterRenderer b = a;
    EXPECT_EQ(a.character().get(), b.character().get());
    EXPECT_EQ(a.render(QStringLiteral("RestPose"), 0), b.render(QStringLiteral("RestPose"), 0));
}
