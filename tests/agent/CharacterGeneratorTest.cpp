#include "AnimationScript.h"
#include "CharacterSource.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void write(const QString &path, const QByteArray &text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

// A 40 x 40 rig with two arms hanging from (10, 10) and (30, 10), and the face.
class CharacterGenerator : public testing::Test
{
protected:
    void SetUp() override
    {
        const QByteArray square = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 40 40\">"
                                  "<rect x=\"8\" y=\"10\" width=\"4\" height=\"10\"/></svg>";
        write(m_dir.filePath(QStringLiteral("left.svg")), square);
        write(m_dir.filePath(QStringLiteral("right.svg")), square);
        write(m_dir.filePath(QStringLiteral("character.json")), R"({
            "file": "Test.acs", "name": "Test", "guid": "{00000000-0000-0000-0000-000000000001}",
            "size": [40, 40],
            "joints": [
                {"id": "root", "pivot": [20, 40]},
                {"id": "head", "parent": "root", "pivot": [20, 30]},
                {"id": "armL", "parent": "root", "pivot": [10, 10]},
                {"id": "armR", "parent": "root", "pivot": [30, 10]}],
            "face": {"eyeL": [15, 20], "eyeR": [25, 20], "mouth": [20, 30]},
            "draw": [["armL", "left.svg"], ["armR", "right.svg"], "face"]
        })");
    }

    std::unique_ptr<CharacterSource> build(const QByteArray &script, double tempo = 1.0)
    {
        QString error;
        AnimationScript animations;
        EXPECT_TRUE(animations.parse(script, &error)) << error.toStdString();
        auto source = CharacterSource::load(m_dir.path(), &error);
        EXPECT_NE(source, nullptr) << error.toStdString();
        if (!source)
            return nullptr;
        source->tempo = tempo;
        EXPECT_TRUE(animations.build(*source, &error)) << error.toStdString();
        return source;
    }

    static const CharacterData::Layer *layer(const CharacterSource &s,
                                             const CharacterData::Frame &f, const char *part)
    {
        for (const CharacterData::Layer &l : f.layers) {
            if (s.character->partId(l.part) == QLatin1String(part))
                return &l;
        }
        return nullptr;
    }

    QTemporaryDir m_dir;
};

void expectNear(QPointF actual, QPointF expected)
{
    EXPECT_NEAR(actual.x(), expected.x(), 0.01);
    EXPECT_NEAR(actual.y(), expected.y(), 0.01);
}

} // namespace

TEST_F(CharacterGenerator, TurnsJointsAboutTheirPivotsAndMirrorsPairs)
{
    const auto s = build(R"({"fps": 20, "animations": [
        {"name": "Swing", "len": 100, "tracks": {"arms": [[0, {}], [100, {"r": 90}, "lin"]]}}]})");
    ASSERT_NE(s, nullptr);
    const CharacterData::Animation *swing = s->character->animation(QStringLiteral("Swing"));
    ASSERT_EQ(swing->frames.size(), 3); // 0, 50 and 100 ms
    const CharacterData::Frame &half = swing->frames[1];
    const double r = 10 * std::sqrt(0.5);
    // The left arm turns 45 degrees clockwise about (10, 10); the right one mirrors it.
    expectNear(layer(*s, half, "left")->transform.map(QPointF(10, 20)), QPointF(10 - r, 10 + r));
    expectNear(layer(*s, half, "right")->transform.map(QPointF(30, 20)), QPointF(30 + r, 10 + r));
    expectNear(layer(*s, swing->frames[2], "left")->transform.map(QPointF(10, 20)), QPointF(0, 10));
}

TEST_F(CharacterGenerator, HoldsBecomeOneFrameAndTempoStretchesTime)
{
    const QByteArray script = R"({"fps": 20, "animations": [{"name": "Hold", "len": 1000},
        {"name": "Swing", "len": 100, "tracks": {"armL": [[0, {}], [100, {"r": 90}]]}}]})";
    const auto s = build(script);
    ASSERT_NE(s, nullptr);
    const CharacterData::Animation *hold = s->character->animation(QStringLiteral("Hold"));
    ASSERT_EQ(hold->frames.size(), 1);
    EXPECT_EQ(hold->totalMs(), 1050);

    const auto slow = build(script, 2.0);
    ASSERT_NE(slow, nullptr);
    EXPECT_EQ(slow->character->animation(QStringLiteral("Swing"))->frames.size(), 5);
}

TEST_F(CharacterGenerator, OpacityHoldsWhileTransformsReturnToRest)
{
    const auto s = build(R"({"fps": 20, "animations": [{"name": "Fade", "len": 300,
        "tracks": {"armL": [[0, {"o": 0}], [100, {"o": 1, "x": 6}], [300, {"x": 4}]]}}]})");
    ASSERT_NE(s, nullptr);
    const CharacterData::Animation *fade = s->character->animation(QStringLiteral("Fade"));
    EXPECT_EQ(layer(*s, fade->frames.first(), "left"), nullptr) << "invisible parts are left out";
    const CharacterData::Layer *end = layer(*s, fade->frames.last(), "left");
    ASSERT_NE(end, nullptr);
    EXPECT_DOUBLE_EQ(end->opacity, 1.0);
    expectNear(end->transform.map(QPointF(0, 0)), QPointF(4, 0));
}

TEST_F(CharacterGenerator, MouthTrackFillsTheMouthSlot)
{
    const auto s = build(R"({"fps": 20, "animations": [{"name": "Talk", "len": 200,
        "tracks": {"root": [[0, {}], [200, {"y": -4}]]}, "mouth": [[0, "closed"], [100, "smile"]]}]})");
    ASSERT_NE(s, nullptr);
    const CharacterData::Animation *talk = s->character->animation(QStringLiteral("Talk"));
    ASSERT_GE(talk->frames.size(), 3);
    for (const CharacterData::Frame &f : talk->frames)
        EXPECT_TRUE(f.canSpeak());
    EXPECT_NE(layer(*s, talk->frames.first(), "mouth_closed"), nullptr);
    EXPECT_NE(layer(*s, talk->frames.last(), "mouth_smile"), nullptr);
    for (int shape = 0; shape < MouthShapeCount; ++shape)
        EXPECT_GE(s->character->mouths[size_t(shape)], 0);
}

TEST_F(CharacterGenerator, ExitsSkipAheadAndLoopsLeaveOutTheRepeat)
{
    const auto s = build(R"({"fps": 20, "animations": [
        {"name": "Nap", "len": 400, "exit": [100, 300], "tracks": {"root": [[0, {}], [400, {"y": 8}, "lin"]]}},
        {"name": "Walk", "len": 200, "loop": true, "tracks": {"root": [[0, {}], [100, {"y": -2}], [200, {}]]}}]})");
    ASSERT_NE(s, nullptr);
    const CharacterData::Animation *nap = s->character->animation(QStringLiteral("Nap"));
    ASSERT_EQ(nap->frames.size(), 9);
    QList<int> exits;
    for (const CharacterData::Frame &f : nap->frames)
        exits.append(f.exitFrame);
    EXPECT_EQ(exits, (QList<int>{-1, -1, 6, 6, 6, 6, -1, -1, -1}));

    const CharacterData::Animation *walk = s->character->animation(QStringLiteral("Walk"));
    EXPECT_TRUE(walk->loops);
    EXPECT_EQ(walk->frames.size(), 4); // 200 ms is frame 0 again
}

TEST_F(CharacterGenerator, StatesMustNameAnimations)
{
    QString error;
    AnimationScript animations;
    ASSERT_TRUE(animations.parse(R"({"animations": [{"name": "Rest", "len": 100}],
        "states": {"rest": "Rest", "idle1": ["Missing"]}})",
                                 &error));
    auto source = CharacterSource::load(m_dir.path(), &error);
    ASSERT_NE(source, nullptr);
    EXPECT_FALSE(animations.build(*source, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("Missing"))) << error.toStdString();
}
