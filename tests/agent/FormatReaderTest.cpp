#include "FormatTestCharacter.h"
#include "agent/CharacterFileFormat.h"
#include "agent/CharacterLoader.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtEndian>
#include <functional>
#include <gtest/gtest.h>

namespace {

QByteArray validFile()
{
    return CharacterFileFormat::write(*FormatTestCharacter::make());
}

QJsonObject validJson()
{
    return QJsonDocument::fromJson(CharacterFileFormat::toJson(*FormatTestCharacter::make()))
            .object();
}

QByteArray withJson(const std::function<void(QJsonObject &)> &change)
{
    QJsonObject root = validJson();
    change(root);
    return CharacterFileFormat::wrap(QJsonDocument(root).toJson(QJsonDocument::Compact));
}

// Edits the first frame of the first animation.
QByteArray withFirstFrame(const std::function<void(QJsonObject &)> &change)
{
    return withJson([&](QJsonObject &root) {
        QJsonArray animations = root[QStringLiteral("animations")].toArray();
        QJsonObject animation = animations[0].toObject();
        QJsonArray frames = animation[QStringLiteral("frames")].toArray();
        QJsonObject frame = frames[0].toObject();
        change(frame);
        frames[0] = frame;
        animation[QStringLiteral("frames")] = frames;
        animations[0] = animation;
        root[QStringLiteral("animations")] = animations;
    });
}

QByteArray withLayers(const QJsonArray &layers)
{
    return withFirstFrame([&](QJsonObject &f) {
        f[QStringLiteral("layers")] = layers;
        f.remove(QStringLiteral("mouth"));
    });
}

QByteArray withPartSvg(const QString &svg)
{
    return withJson([&](QJsonObject &r) {
        QJsonArray parts = r[QStringLiteral("parts")].toArray();
        QJsonObject first = parts[0].toObject();
        first[QStringLiteral("svg")] = svg;
        parts[0] = first;
        r[QStringLiteral("parts")] = parts;
    });
}

// A file of `animations` animations of `frames` empty frames each, written as text: the
// shape of a small file that announces far more than it holds.
QByteArray withManyFrames(int animations, int frames, int side = 40)
{
    QJsonObject root = validJson();
    root[QStringLiteral("width")] = side;
    root[QStringLiteral("height")] = side;
    root.remove(QStringLiteral("states"));
    root[QStringLiteral("animations")] = QJsonArray();
    QByteArray json = QJsonDocument(root).toJson(QJsonDocument::Compact);
    QByteArray list;
    for (int a = 0; a < animations; ++a) {
        list += (a ? ",{\"name\":\"A" : "{\"name\":\"A") + QByteArray::number(a) +
                "\",\"frames\":[";
        for (int f = 0; f < frames; ++f)
            list += f ? ",{\"ms\":1,\"layers\":[]}" : "{\"ms\":1,\"layers\":[]}";
        list += "]}";
    }
    json.replace("\"animations\":[]", QByteArray("\"animations\":[" + list + "]"));
    return CharacterFileFormat::wrap(json);
}

QByteArray patched(QByteArray bytes, int offset, quint32 value)
{
    qToBigEndian<quint32>(value, reinterpret_cast<uchar *>(bytes.data()) + offset);
    return bytes;
}

} // namespace

TEST(FormatReader, WriteThenReadGivesTheSameCharacter)
{
    const auto original = FormatTestCharacter::make();
    const CharacterLoadResult read =
            CharacterLoader::loadBytes(CharacterFileFormat::write(*original));
    ASSERT_TRUE(read) << read.error.toStdString();
    const CharacterData &c = *read.character;
    EXPECT_EQ(c.name, original->name);
    EXPECT_EQ(c.description, original->description);
    EXPECT_EQ(c.guid, original->guid);
    EXPECT_EQ(c.frameSize, QSize(40, 40));
    EXPECT_EQ(c.voice, QStringLiteral("en-us+m2"));
    EXPECT_EQ(c.voicePitch, 30);
    EXPECT_EQ(c.voiceRate, 200);
    EXPECT_EQ(c.restAnimation, QStringLiteral("RestPose"));
    EXPECT_EQ(c.attentionAnimation, QStringLiteral("Slide"));
    EXPECT_EQ(c.idleLevels[0], QStringList{QStringLiteral("RestPose")});
    EXPECT_TRUE(c.idleLevels[1].isEmpty());
    EXPECT_EQ(c.idleLevels[2], (QStringList{QStringLiteral("Slide"), QStringLiteral("Walk")}));
    EXPECT_EQ(c.moveAnimation(MoveDirection::Left), QStringLiteral("Walk"));
    EXPECT_TRUE(c.moveAnimation(MoveDirection::Up).isEmpty());
    EXPECT_EQ(c.partId(c.mouths[size_t(MouthShape::Wide4)]), QStringLiteral("mouth_wide4"));
    EXPECT_EQ(c.mouths[size_t(MouthShape::Narrow)], -1);
    EXPECT_EQ(c.animationNames(), original->animationNames());

    for (const CharacterData::Animation &a : original->animations()) {
        const CharacterData::Animation *b = c.animation(a.name);
        ASSERT_NE(b, nullptr) << a.name.toStdString();
        EXPECT_EQ(b->returnAnimation, a.returnAnimation);
        EXPECT_EQ(b->loops, a.loops);
        ASSERT_EQ(b->frames.size(), a.frames.size());
        for (qsizetype f = 0; f < a.frames.size(); ++f) {
            const CharacterData::Frame &x = a.frames[f], &y = b->frames[f];
            EXPECT_EQ(y.durationMs, x.durationMs);
            EXPECT_EQ(y.exitFrame, x.exitFrame);
            ASSERT_EQ(y.branches.size(), x.branches.size());
            for (qsizetype i = 0; i < x.branches.size(); ++i) {
                EXPECT_EQ(y.branches[i].frame, x.branches[i].frame);
                EXPECT_EQ(y.branches[i].percent, x.branches[i].percent);
            }
            ASSERT_EQ(y.layers.size(), x.layers.size());
            for (qsizetype i = 0; i < x.layers.size(); ++i) {
                EXPECT_EQ(c.partId(y.layers[i].part), original->partId(x.layers[i].part));
                EXPECT_EQ(y.layers[i].transform, x.layers[i].transform);
                EXPECT_DOUBLE_EQ(y.layers[i].opacity, x.layers[i].opacity);
                EXPECT_EQ(y.layers[i].mouth, x.layers[i].mouth);
            }
        }
    }
}

TEST(FormatReader, AnimationNamesIgnoreCase)
{
    const auto c = FormatTestCharacter::make();
    ASSERT_NE(c->animation(QStringLiteral("restpose")), nullptr);
    EXPECT_EQ(c->animation(QStringLiteral("SLIDE")), c->animation(QStringLiteral("Slide")));
    EXPECT_EQ(c->animation(QStringLiteral("Slid")), nullptr);
    EXPECT_EQ(CharacterData::mouthFromName(QStringLiteral("WIDE3")), MouthShape::Wide3);
    EXPECT_FALSE(CharacterData::mouthFromName(QStringLiteral("wide5")));
}

TEST(FormatReader, LoadsFromDiskAndNamesTheFileInErrors)
{
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("Good.acs"));
    QFile out(good);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(validFile());
    out.close();
    EXPECT_TRUE(CharacterLoader::load(good));

    const CharacterLoadResult missing =
            CharacterLoader::load(dir.filePath(QStringLiteral("None.acs")));
    EXPECT_FALSE(missing);
    EXPECT_TRUE(missing.error.contains(QStringLiteral("cannot open")))
            << missing.error.toStdString();
    EXPECT_FALSE(CharacterLoader::load(dir.path())) << "a folder is not a character";

    // Bigger than the limit: refused from its size, without reading it.
    const QString huge = dir.filePath(QStringLiteral("Huge.acs"));
    QFile big(huge);
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    big.write(validFile());
    ASSERT_TRUE(big.resize(CharacterLoader::MaxFileBytes + 1));
    big.close();
    const CharacterLoadResult tooBig = CharacterLoader::load(huge);
    EXPECT_FALSE(tooBig);
    EXPECT_TRUE(tooBig.error.contains(QStringLiteral("too big"))) << tooBig.error.toStdString();
    EXPECT_TRUE(tooBig.error.contains(huge));
}

TEST(FormatReader, LoadingTheSameFileSharesOneDecodedCharacter)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Shared.acs"));
    auto save = [&](const QString &name) {
        auto c = FormatTestCharacter::make();
        c->name = name;
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(CharacterFileFormat::write(*c));
    };
    save(QStringLiteral("First"));
    const CharacterLoadResult a = CharacterLoader::load(path);
    const CharacterLoadResult b = CharacterLoader::load(path);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a.character.get(), b.character.get());

    // A changed file is decoded afresh; holders of the old one keep it.
    save(QStringLiteral("Second, a little longer"));
    const CharacterLoadResult c = CharacterLoader::load(path);
    ASSERT_TRUE(c);
    EXPECT_NE(c.character.get(), a.character.get());
    EXPECT_EQ(c.character->name, QStringLiteral("Second, a little longer"));
    EXPECT_EQ(a.character->name, QStringLiteral("First"));
}

struct BadFile
{
    const char *name;
    std::function<QByteArray()> bytes;
    const char *error; // a part of the expected message
};

class FormatReaderRejects : public testing::TestWithParam<BadFile>
{
};

TEST_P(FormatReaderRejects, WithAClearError)
{
    const CharacterLoadResult r = CharacterLoader::loadBytes(GetParam().bytes());
    EXPECT_FALSE(r);
    EXPECT_EQ(r.character, nullptr);
    EXPECT_TRUE(r.error.contains(QLatin1String(GetParam().error), Qt::CaseInsensitive))
            << "error was: " << r.error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
        Files, FormatReaderRejects,
        testing::Values(
                BadFile{"Empty", [] { return QByteArray(); }, "not a character file"},
                BadFile{"PlainText", [] { return QByteArray("name=Wobbo\n"); },
                        "not a character file"},
                BadFile{"OnlyMagic", [] { return validFile().left(9); }, "truncated"},
                BadFile{"CutPayload", [] { return validFile().chopped(50); }, "truncated"},
                BadFile{"TrailingBytes", [] { return validFile().append("xyz"); }, "trailing"},
                BadFile{"NewerVersion",
                        [] {
                            return CharacterFileFormat::wrap(
                                    CharacterFileFormat::toJson(*FormatTestCharacter::make()), 2);
                        },
                        "unsupported format version 2"},
                BadFile{"VersionZero", [] { return CharacterFileFormat::wrap("{}", 0); },
                        "unsupported format version 0"},
                BadFile{"HugeUnpackedLength", [] { return patched(validFile(), 16, 0x7fffffff); },
                        "too big"},
                BadFile{"ShortUnpackedLength", [] { return patched(validFile(), 16, 100); },
                        "damaged"},
                BadFile{"FlippedBytes",
                        [] {
                            QByteArray b = validFile();
                            for (qsizetype i = 40; i < 60; ++i)
                                b[i] = char(b[i] ^ 0x5a);
                            return b;
                        },
                        "damaged"},
                BadFile{"NotJson", [] { return CharacterFileFormat::wrap("name: Wobbo"); },
                        "not valid JSON"},
                BadFile{"JsonList", [] { return CharacterFileFormat::wrap("[1,2]"); },
                        "not a JSON object"},
                BadFile{"DeepNesting",
                        [] {
                            return CharacterFileFormat::wrap(QByteArray(100000, '[') +
                                                             QByteArray(100000, ']'));
                        },
                        "JSON"},
                BadFile{"NoName",
                        [] {
                            return withJson(
                                    [](QJsonObject &r) { r.remove(QStringLiteral("name")); });
                        },
                        "\"name\""},
                BadFile{"BadGuid",
                        [] {
                            return withJson([](QJsonObject &r) {
                                r[QStringLiteral("guid")] = QStringLiteral("{nope}");
                            });
                        },
                        "guid"},
                BadFile{"HugeFrame",
                        [] {
                            return withJson(
                                    [](QJsonObject &r) { r[QStringLiteral("width")] = 100000; });
                        },
                        "\"width\""},
                BadFile{"BrokenSvg",
                        [] {
                            return withJson([](QJsonObject &r) {
                                r[QStringLiteral("parts")] = QJsonArray{QJsonObject{
                                        {QStringLiteral("id"), QStringLiteral("square")},
                                        {QStringLiteral("svg"), QStringLiteral("<svg><rect")}}};
                            });
                        },
                        "not valid SVG"},
                BadFile{"ExternalImage",
                        [] {
                            return withPartSvg(QStringLiteral(
                                    "<svg xmlns=\"http://www.w3.org/2000/svg\" "
                                    "xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
                                    "viewBox=\"0 0 40 40\"><image width=\"9\" height=\"9\" "
                                    "xlink:href=\"/dev/zero\"/></svg>"));
                        },
                        "may not use"},
                BadFile{"EntityExpansion",
                        [] {
                            return withPartSvg(QStringLiteral(
                                    "<?xml version=\"1.0\"?><!DOCTYPE svg [<!ENTITY a "
                                    "\"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;\">]>"
                                    "<svg xmlns=\"http://www.w3.org/2000/svg\">&b;</svg>"));
                        },
                        "may not use"},
                BadFile{"NamespacedUse",
                        [] {
                            return withPartSvg(QStringLiteral(
                                    "<svg xmlns=\"http://www.w3.org/2000/svg\" "
                                    "xmlns:s=\"http://www.w3.org/2000/svg\"><g id=\"a\"/>"
                                    "<s:use href=\"#a\"/></svg>"));
                        },
                        "<use>, which character files may not use"},
                BadFile{"ForeignPrefixedImage",
                        [] {
                            return withPartSvg(QStringLiteral(
                                    "<svg xmlns=\"http://www.w3.org/2000/svg\" "
                                    "xmlns:q=\"urn:x\"><q:image q:href=\"#a\"/></svg>"));
                        },
                        "<image>"},
                BadFile{"UndeclaredPrefix",
                        [] {
                            return withPartSvg(QStringLiteral(
                                    "<svg xmlns=\"http://www.w3.org/2000/svg\"><s:use/></svg>"));
                        },
                        "not valid SVG"},
                BadFile{"PrefixedLinkToAFile",
                        [] {
                            return withPartSvg(QStringLiteral(
                                    "<svg xmlns=\"http://www.w3.org/2000/svg\" "
                                    "xmlns:l=\"http://www.w3.org/1999/xlink\"><linearGradient "
                                    "id=\"g\" l:href='/dev/zero'/></svg>"));
                        },
                        "may not use"},
                BadFile{"LinkToAFile",
                        [] {
                            return withPartSvg(QStringLiteral(
                                    "<svg xmlns=\"http://www.w3.org/2000/svg\"><linearGradient "
                                    "id=\"g\" href='file:///etc/passwd'/></svg>"));
                        },
                        "may not use"},
                BadFile{"MouthOfMissingPart",
                        [] {
                            return withJson([](QJsonObject &r) {
                                r[QStringLiteral("mouths")] = QJsonObject{
                                        {QStringLiteral("wide1"), QStringLiteral("nose")}};
                            });
                        },
                        "missing part"},
                BadFile{"PartOutOfRange",
                        [] {
                            return withLayers({7, 0});
                        },
                        "the part must be a whole number"},
                BadFile{"NegativePart",
                        [] {
                            return withLayers({-1, 0});
                        },
                        "the part must be a whole number"},
                BadFile{"LayerWithoutMatrix", [] { return withLayers({0}); },
                        "part and matrix numbers"},
                BadFile{"MatrixOutOfRange",
                        [] {
                            return withLayers({0, 999});
                        },
                        "the matrix must be a whole number"},
                BadFile{"HugeMatrixNumber",
                        [] {
                            return withJson([](QJsonObject &r) {
                                r[QStringLiteral("matrices")] =
                                        QJsonArray{QJsonArray{1e300, 0, 0, 1, 0, 0}};
                            });
                        },
                        "six finite numbers"},
                BadFile{"OpacityAboveOne",
                        [] {
                            return withFirstFrame([](QJsonObject &f) {
                                f[QStringLiteral("opacity")] = QJsonArray{QJsonArray{0, 3}};
                            });
                        },
                        "opacity"},
                BadFile{"MouthPastTheLayers",
                        [] {
                            return withFirstFrame(
                                    [](QJsonObject &f) { f[QStringLiteral("mouth")] = 5; });
                        },
                        "the mouth must be"},
                BadFile{"ZeroDuration",
                        [] {
                            return withFirstFrame(
                                    [](QJsonObject &f) { f[QStringLiteral("ms")] = 0; });
                        },
                        "duration"},
                BadFile{"FractionalDuration",
                        [] {
                            return withFirstFrame(
                                    [](QJsonObject &f) { f[QStringLiteral("ms")] = 10.5; });
                        },
                        "duration"},
                BadFile{"TooManyLayers",
                        [] {
                            return withFirstFrame([](QJsonObject &f) {
                                QJsonArray layers;
                                for (int i = 0; i <= CharacterFileFormat::MaxLayersPerFrame; ++i) {
                                    layers.append(0);
                                    layers.append(0);
                                }
                                f[QStringLiteral("layers")] = layers;
                            });
                        },
                        "more than 128"},
                // Each total is checked before anything is decoded.
                BadFile{"FramesJustOverTheTotal", [] { return withManyFrames(9, 3641); },
                        "32769 frames in all, at most 32768"},
                BadFile{"LargeFramesOverThePixelTotal", [] { return withManyFrames(1, 129, 2048); },
                        "pixels in all (129 frames of 2048 x 2048)"},
                BadFile{"LayersOverTheTotal",
                        [] {
                            return withJson([](QJsonObject &r) {
                                QJsonArray layers;
                                for (int i = 0; i < CharacterFileFormat::MaxLayersPerFrame; ++i)
                                    layers << 0 << 0;
                                const QJsonObject frame{{QStringLiteral("ms"), 1},
                                                        {QStringLiteral("layers"), layers}};
                                QJsonArray frames;
                                for (int i = 0; i < 4000; ++i)
                                    frames.append(frame);
                                r[QStringLiteral("animations")] = QJsonArray{QJsonObject{
                                        {QStringLiteral("name"), QStringLiteral("Busy")},
                                        {QStringLiteral("frames"), frames}}};
                                r.remove(QStringLiteral("states"));
                            });
                        },
                        "more than 500000 layers in all"},
                BadFile{"SvgOverTheTotal",
                        [] {
                            return withJson([](QJsonObject &r) {
                                const QString filler = QStringLiteral("<!--") +
                                                       QString(1000 * 1000, u'x') +
                                                       QStringLiteral("-->");
                                QJsonArray parts = r[QStringLiteral("parts")].toArray();
                                for (int i = 0; i < 9; ++i)
                                    parts.append(QJsonObject{
                                            {QStringLiteral("id"), QStringLiteral("big%1").arg(i)},
                                            {QStringLiteral("svg"),
                                             QString(QStringLiteral(
                                                             "<svg xmlns=\"http://www.w3.org/"
                                                             "2000/svg\">") +
                                                     filler + QStringLiteral("</svg>"))}});
                                r[QStringLiteral("parts")] = parts;
                            });
                        },
                        "more than 8388608 bytes in all"},
                BadFile{"BranchPastTheEnd",
                        [] {
                            return withFirstFrame([](QJsonObject &f) {
                                f[QStringLiteral("branches")] = QJsonArray{QJsonArray{5, 50}};
                            });
                        },
                        "jumps past"},
                BadFile{"BranchesOver100",
                        [] {
                            return withFirstFrame([](QJsonObject &f) {
                                f[QStringLiteral("branches")] =
                                        QJsonArray{QJsonArray{0, 60}, QJsonArray{0, 60}};
                            });
                        },
                        "more than 100%"},
                BadFile{"NoFrames",
                        [] {
                            return withJson([](QJsonObject &r) {
                                r[QStringLiteral("animations")] = QJsonArray{QJsonObject{
                                        {QStringLiteral("name"), QStringLiteral("Empty")},
                                        {QStringLiteral("frames"), QJsonArray()}}};
                                r.remove(QStringLiteral("states"));
                            });
                        },
                        "has no frames"},
                BadFile{"DuplicateAnimation",
                        [] {
                            return withJson([](QJsonObject &r) {
                                QJsonArray a = r[QStringLiteral("animations")].toArray();
                                QJsonObject copy = a[0].toObject();
                                copy[QStringLiteral("name")] =
                                        copy[QStringLiteral("name")].toString().toUpper();
                                a.append(copy);
                                r[QStringLiteral("animations")] = a;
                            });
                        },
                        "appears twice"},
                BadFile{"MissingReturn",
                        [] {
                            return withJson([](QJsonObject &r) {
                                QJsonArray a = r[QStringLiteral("animations")].toArray();
                                QJsonObject first = a[0].toObject();
                                first[QStringLiteral("return")] = QStringLiteral("Nowhere");
                                a[0] = first;
                                r[QStringLiteral("animations")] = a;
                            });
                        },
                        "returns through a missing"},
                BadFile{"StateOfMissingAnimation",
                        [] {
                            return withJson([](QJsonObject &r) {
                                QJsonObject s = r[QStringLiteral("states")].toObject();
                                s[QStringLiteral("idle2")] = QJsonArray{QStringLiteral("Nap")};
                                r[QStringLiteral("states")] = s;
                            });
                        },
                        "missing animation \"Nap\""}),
        [](const testing::TestParamInfo<BadFile> &info) { return std::string(info.param.name); });

TEST(FormatReader, FramesUpToTheTotalLoad)
{
    const CharacterLoadResult r = CharacterLoader::loadBytes(withManyFrames(8, 4096));
    ASSERT_TRUE(r) << r.error.toStdString();
    EXPECT_EQ(r.character->animations().size(), 8);
}

TEST(FormatReader, ZipBombStopsAtTheDeclaredLength)
{
    // 20 MB of spaces packs into a few kilobytes; the header claims 1 KB.
    const QByteArray packed = qCompress(QByteArray(20 * 1024 * 1024, ' '), 9);
    QByteArray payload = packed;
    qToBigEndian<quint32>(1024, reinterpret_cast<uchar *>(payload.data()));
    QByteArray file = CharacterFileFormat::wrap("{}").left(CharacterFileFormat::HeaderBytes);
    qToBigEndian<quint32>(quint32(payload.size()), reinterpret_cast<uchar *>(file.data()) + 12);
    const CharacterLoadResult r = CharacterLoader::loadBytes(file + payload);
    EXPECT_FALSE(r);
    EXPECT_TRUE(r.error.contains(QStringLiteral("damaged"))) << r.error.toStdString();
}

TEST(FormatReader, RandomDamageNeverCrashes)
{
    // Every single-byte change of a real file is either read or refused, never a crash.
    const QByteArray good = validFile();
    int refused = 0;
    for (qsizetype i = 0; i < good.size(); i += 3) {
        QByteArray bad = good;
        bad[i] = char(bad[i] + 77);
        const CharacterLoadResult r = CharacterLoader::loadBytes(bad);
        if (!r) {
            ++refused;
            EXPECT_FALSE(r.error.isEmpty());
        }
    }
    EXPECT_GT(refused, 0);
}
