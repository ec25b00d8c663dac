#include "agent/CharacterLoader.h"
#include "agent/CharacterRenderer.h"

#include <QLineF>
#include <QPainter>
#include <QRegularExpression>
#include <QSet>
#include <QSvgRenderer>
#include <gtest/gtest.h>

namespace {

const char *const ShippedFiles[] = {"Wobbo_Mini.acs", "Pico_Fox.acs", "Plum_Block.acs"};

// The standard set every shipped character has, including every name the program plays.
const char *const StandardSet[] = {
        "RestPose", "Show", "Hide", "Greet", "Wave", "Announce", "GetAttention",
        "GetAttentionReturn", "Read", "ReadReturn", "Write", "WriteReturn", "Think", "Explain",
        "Pleased", "Sad", "Surprised", "Confused", "Congratulate", "Decline", "Acknowledge",
        "Search", "Blink", "LookUp", "LookDown", "LookLeft", "LookRight", "MoveUp", "MoveDown",
        "MoveLeft", "MoveRight", "Idle1_1", "Idle1_2", "Idle2_1", "Idle2_2", "Idle3_1", "Idle3_2",
        "Idle3_3",
        // as the program spells them
        "restpose", "greet", "read", "readreturn", "decline", "announce", "getattentionreturn",
        "idle3_3"};

QString path(const char *file)
{
    return QStringLiteral(QUILLOMI_BUILD_DATA_DIR "/chars/") + QLatin1String(file);
}

std::shared_ptr<const CharacterData> load(const char *file)
{
    static QHash<QString, std::shared_ptr<const CharacterData>> cache;
    const QString p = path(file);
    if (!cache.contains(p)) {
        const CharacterLoadResult r = CharacterLoader::load(p);
        EXPECT_TRUE(r) << r.error.toStdString();
        cache.insert(p, r.character);
    }
    return cache.value(p);
}

// The rectangle holding every visible pixel.
QRect inkRect(const QImage &image)
{
    QRect r;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) > 0)
                r |= QRect(x, y, 1, 1);
        }
    }
    return r;
}

// How far parts travel between two frames, in logical pixels: the largest move of a corner
// of any part's drawn area. Parts match by identity; the mouth matches the mouth.
double travel(const CharacterData &c, const CharacterData::Frame &a, const CharacterData::Frame &b)
{
    static QHash<const QSvgRenderer *, QRectF> bounds;
    auto boundsOf = [&](int part) {
        QSvgRenderer *svg = c.partRenderer(part);
        if (!bounds.contains(svg)) {
            const QRectF box = svg->viewBoxF();
            QImage image((box.size() * 2).toSize(), QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter p(&image);
            svg->render(&p);
            p.end();
            const QRect ink = inkRect(image);
            bounds.insert(svg, QRectF(box.x() + ink.x() / 2.0, box.y() + ink.y() / 2.0,
                                      ink.width() / 2.0, ink.height() / 2.0));
        }
        return bounds.value(svg);
    };
    double most = 0;
    for (const CharacterData::Layer &la : a.layers) {
        const auto match = std::find_if(b.layers.cbegin(), b.layers.cend(),
                                        [&](const CharacterData::Layer &lb) {
                                            return la.mouth ? lb.mouth : lb.part == la.part;
                                        });
        if (match == b.layers.cend())
            continue;
        const QRectF r = boundsOf(la.part);
        for (const QPointF &corner : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
            most = std::max(
                    most, QLineF(la.transform.map(corner), match->transform.map(corner)).length());
    }
    return most;
}

QSet<int> partsShown(const CharacterData::Frame &f)
{
    QSet<int> parts;
    for (const CharacterData::Layer &l : f.layers) {
        if (!l.mouth)
            parts.insert(l.part);
    }
    return parts;
}

class ShippedCharacter : public testing::TestWithParam<const char *>
{
protected:
    void SetUp() override
    {
        m_character = load(GetParam());
        ASSERT_NE(m_character, nullptr);
    }
    const CharacterData &c() const { return *m_character; }
    CharacterRenderer renderer() const { return CharacterRenderer(m_character); }
    QImage rest() const { return renderer().render(c().restAnimation, 0); }

    std::shared_ptr<const CharacterData> m_character;
};

} // namespace

TEST_P(ShippedCharacter, HasAnIdentityAndAVoice)
{
    EXPECT_FALSE(c().name.isEmpty());
    EXPECT_FALSE(c().description.isEmpty());
    EXPECT_TRUE(
            QRegularExpression(QStringLiteral("^\\{[0-9A-F-]{36}\\}$")).match(c().guid).hasMatch());
    EXPECT_EQ(c().frameSize, QSize(128, 128));
    EXPECT_TRUE(c().voice.startsWith(QLatin1String("en")));
}

TEST_P(ShippedCharacter, HasTheStandardAnimationSet)
{
    EXPECT_GE(c().animations().size(), 30);
    for (const char *name : StandardSet)
        EXPECT_NE(c().animation(QLatin1String(name)), nullptr) << name;
}

TEST_P(ShippedCharacter, NamesItsStandardStates)
{
    EXPECT_EQ(c().restAnimation, QStringLiteral("RestPose"));
    EXPECT_EQ(c().showAnimation, QStringLiteral("Show"));
    EXPECT_EQ(c().hideAnimation, QStringLiteral("Hide"));
    EXPECT_EQ(c().attentionAnimation, QStringLiteral("GetAttention"));
    EXPECT_EQ(c().animation(c().attentionAnimation)->returnAnimation,
              QStringLiteral("GetAttentionReturn"));
    for (int level = 0; level < 3; ++level) {
        EXPECT_FALSE(c().idleLevels[size_t(level)].isEmpty()) << "idle level " << level + 1;
        for (const QString &name : c().idleLevels[size_t(level)])
            EXPECT_TRUE(name.startsWith(QStringLiteral("Idle%1_").arg(level + 1)))
                    << name.toStdString();
    }
    for (MoveDirection d :
         {MoveDirection::Up, MoveDirection::Down, MoveDirection::Left, MoveDirection::Right}) {
        const CharacterData::Animation *walk = c().animation(c().moveAnimation(d));
        ASSERT_NE(walk, nullptr) << CharacterData::directionName(d).toStdString();
        EXPECT_TRUE(walk->loops);
    }
}

TEST_P(ShippedCharacter, PropsComeBackThroughReturnAnimations)
{
    EXPECT_EQ(c().animation(QStringLiteral("read"))->returnAnimation, QStringLiteral("ReadReturn"));
    EXPECT_EQ(c().animation(QStringLiteral("write"))->returnAnimation,
              QStringLiteral("WriteReturn"));
    for (const CharacterData::Animation &a : c().animations()) {
        if (!a.returnAnimation.isEmpty()) {
            EXPECT_NE(c().animation(a.returnAnimation), nullptr) << a.name.toStdString();
        }
    }
}

TEST_P(ShippedCharacter, HasSevenDistinctMouthShapes)
{
    const CharacterRenderer r = renderer();
    const CharacterData::Frame &still = c().animation(c().restAnimation)->frames.first();
    ASSERT_TRUE(still.canSpeak());
    QSet<QByteArray> looks;
    for (int i = 0; i < MouthShapeCount; ++i) {
        ASSERT_GE(c().mouths[size_t(i)], 0)
                << CharacterData::mouthName(MouthShape(i)).toStdString();
        const QImage image = r.render(still, MouthShape(i));
        looks.insert(
                QByteArray(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes()));
    }
    EXPECT_EQ(looks.size(), MouthShapeCount);
    // Every gesture the character talks through keeps its mouth.
    for (const char *talking : {"Explain", "GetAttention", "Greet", "Read", "Think", "Announce"}) {
        for (const CharacterData::Frame &f : c().animation(QLatin1String(talking))->frames)
            EXPECT_TRUE(f.canSpeak()) << talking;
    }
}

TEST_P(ShippedCharacter, EveryFrameRendersInsideItsFrame)
{
    const CharacterRenderer r = renderer();
    const QRect inside = QRect(QPoint(0, 0), c().frameSize).adjusted(1, 1, -1, -1);
    for (const CharacterData::Animation &a : c().animations()) {
        for (int i = 0; i < a.frames.size(); ++i) {
            const QImage image = r.render(a.frames[i]);
            ASSERT_EQ(image.size(), c().frameSize);
            ASSERT_EQ(image.format(), QImage::Format_ARGB32_Premultiplied);
            const QRect ink = inkRect(image);
            const bool gone = a.name == c().hideAnimation && i == a.frames.size() - 1;
            EXPECT_TRUE(gone || !ink.isEmpty())
                    << a.name.toStdString() << " frame " << i << " is empty";
            EXPECT_TRUE(inside.contains(ink))
                    << a.name.toStdString() << " frame " << i
                    << " is cut off at the frame's edge: " << ink.x() << "," << ink.y() << " "
                    << ink.width() << "x" << ink.height();
        }
    }
    const QImage sharp =
            r.render(c().animation(QStringLiteral("Greet"))->frames[5], std::nullopt, 1.0, 2.0);
    EXPECT_EQ(sharp.size(), c().frameSize * 2);
    EXPECT_FALSE(inkRect(sharp).isEmpty());
}

// Most a part may travel from one frame to the next, in logical pixels (the corners of a
// part's drawn area, so a turning arm counts at its far end).
constexpr double StepLimit = 24;
// How close to the rest pose an animation starts and ends.
constexpr double NearRest = 2.5;

TEST_P(ShippedCharacter, AnimationsStartAndEndAtRest)
{
    // Any animation may follow any other: each begins near the rest pose and ends there,
    // or hands over to its return animation, which ends there. Walks loop and may start
    // one step away from rest.
    const CharacterData::Frame &rest = c().animation(c().restAnimation)->frames.first();
    QSet<QString> returns;
    for (const CharacterData::Animation &a : c().animations())
        returns.insert(a.returnAnimation);
    for (const CharacterData::Animation &a : c().animations()) {
        const std::string name = a.name.toStdString();
        const CharacterData::Frame &first = a.frames.first(), &last = a.frames.last();
        if (a.name != c().showAnimation && !returns.contains(a.name)) {
            EXPECT_LE(travel(c(), first, rest), a.loops ? StepLimit : NearRest)
                    << name << " starts away from rest";
            EXPECT_EQ(partsShown(first), partsShown(rest)) << name << " starts with a prop out";
        }
        if (a.loops) {
            EXPECT_LE(travel(c(), last, first), StepLimit) << name << " does not loop smoothly";
        } else if (!a.returnAnimation.isEmpty()) {
            const CharacterData::Frame &next = c().animation(a.returnAnimation)->frames.first();
            EXPECT_LE(travel(c(), last, next), 0.5) << name << " does not meet its return";
            EXPECT_EQ(partsShown(last), partsShown(next)) << name << " does not meet its return";
        } else if (a.name != c().hideAnimation) {
            EXPECT_LE(travel(c(), last, rest), NearRest) << name << " ends away from rest";
            EXPECT_EQ(partsShown(last), partsShown(rest)) << name << " ends with a prop out";
        }
    }
}

TEST_P(ShippedCharacter, FramesFollowEachOtherWithoutJumps)
{
    for (const CharacterData::Animation &a : c().animations()) {
        if (a.name == c().showAnimation || a.name == c().hideAnimation)
            continue; // popping in and out of a puff is meant to be quick
        for (int i = 1; i < a.frames.size(); ++i) {
            const double moved = travel(c(), a.frames[i - 1], a.frames[i]);
            EXPECT_LE(moved, StepLimit)
                    << a.name.toStdString() << " jumps " << moved << " px at frame " << i;
        }
    }
}

TEST_P(ShippedCharacter, EarlyEndsSkipAheadSmoothly)
{
    int exits = 0;
    for (const CharacterData::Animation &a : c().animations()) {
        for (int i = 0; i < a.frames.size(); ++i) {
            const int exit = a.frames[i].exitFrame;
            if (exit < 0)
                continue;
            ++exits;
            ASSERT_GT(exit, i) << a.name.toStdString();
            ASSERT_LT(exit, a.frames.size()) << a.name.toStdString();
            const double moved = travel(c(), a.frames[i], a.frames[exit]);
            EXPECT_LE(moved, StepLimit) << a.name.toStdString() << " frame " << i
                                        << " exits with a jump of " << moved << " px";
        }
    }
    EXPECT_GT(exits, 0) << "the long idles wake up when stopped";
    EXPECT_GE(c().animation(QStringLiteral("Idle3_2"))->frames[20].exitFrame, 0);
}

TEST_P(ShippedCharacter, FramesKeepAnEvenPace)
{
    for (const CharacterData::Animation &a : c().animations()) {
        for (const CharacterData::Frame &f : a.frames) {
            EXPECT_GE(f.durationMs, 40) << a.name.toStdString(); // at most 25 frames a second
            EXPECT_LE(f.durationMs, 2000) << a.name.toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
        Files, ShippedCharacter, testing::ValuesIn(ShippedFiles),
        [](const testing::TestParamInfo<const char *> &info) {
            return QString::fromLatin1(info.param).section(QLatin1Char('.'), 0, 0).toStdString();
        });

TEST(ShippedCharacters, AreThreeDifferentCharacters)
{
    QSet<QString> guids, names;
    for (const char *file : ShippedFiles) {
        const auto c = load(file);
        ASSERT_NE(c, nullptr) << file;
        guids.insert(c->guid);
        names.insert(c->name);
    }
    EXPECT_EQ(guids.size(), 3);
    EXPECT_EQ(names.size(), 3);
}
