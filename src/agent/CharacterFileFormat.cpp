#include "agent/CharacterFileFormat.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringList>
#include <QXmlStreamReader>
#include <QtEndian>
#include <cmath>
#include <zlib.h>

namespace {

// "\x89QCHR\r\n\x1a": a high byte and line ends catch files mangled as text.
constexpr char Magic[8] = {'\x89', 'Q', 'C', 'H', 'R', '\r', '\n', '\x1a'};

const char *const StateNames[] = {"moveUp", "moveDown", "moveLeft", "moveRight"};

// Thrown inside the reader only; read() turns it into an error value.
struct Invalid
{
    QString message;
};

[[noreturn]] void fail(const QString &message)
{
    throw Invalid{message};
}

QString text(const QJsonObject &o, const char *key, bool required = false)
{
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isUndefined() && !required)
        return {};
    if (!v.isString())
        fail(QStringLiteral("\"%1\" must be a text").arg(QLatin1String(key)));
    const QString s = v.toString();
    if (s.size() > CharacterFileFormat::MaxNameLength * 16)
        fail(QStringLiteral("\"%1\" is too long").arg(QLatin1String(key)));
    return s;
}

QString name(const QJsonValue &v, const QString &what)
{
    if (!v.isString() || v.toString().isEmpty() ||
        v.toString().size() > CharacterFileFormat::MaxNameLength)
        fail(QStringLiteral("%1 must be a name of 1 to %2 characters")
                     .arg(what)
                     .arg(CharacterFileFormat::MaxNameLength));
    return v.toString();
}

int integer(const QJsonValue &v, const QString &what, int low, int high)
{
    if (!v.isDouble())
        fail(QStringLiteral("%1 must be a number").arg(what));
    const double d = v.toDouble();
    if (!(d >= low && d <= high) || d != std::floor(d))
        fail(QStringLiteral("%1 must be a whole number from %2 to %3")
                     .arg(what)
                     .arg(low)
                     .arg(high));
    return int(d);
}

QJsonArray array(const QJsonValue &v, const QString &what, qsizetype max)
{
    if (!v.isArray())
        fail(QStringLiteral("%1 must be a list").arg(what));
    const QJsonArray a = v.toArray();
    if (a.size() > max)
        fail(QStringLiteral("%1 has more than %2 entries").arg(what).arg(max));
    return a;
}

bool wholeNumber(const QJsonValue &v, int low, int high, int &out)
{
    const double d = v.toDouble(std::nan(""));
    if (!(d >= low && d <= high) || d != std::floor(d))
        return false;
    out = int(d);
    return true;
}

// Where a frame sits, for messages; built only when something is wrong, because a
// character holds tens of thousands of layers.
struct FramePlace
{
    const QString &animation;
    qsizetype frame;
    [[noreturn]] void fail(const QString &what) const
    {
        ::fail(QStringLiteral("animation \"%1\" frame %2: %3").arg(animation).arg(frame).arg(what));
    }
};

CharacterData::Frame readFrame(const QJsonValue &value, const FramePlace &place,
                               const QList<QTransform> &matrices, int partCount, qint64 &layerTotal)
{
    if (!value.isObject())
        place.fail(QStringLiteral("must be an object"));
    const QJsonObject o = value.toObject();
    CharacterData::Frame frame;
    if (!wholeNumber(o.value(QLatin1String("ms")), 1, CharacterFileFormat::MaxFrameMs,
                     frame.durationMs))
        place.fail(QStringLiteral("the duration must be a whole number from 1 to %1 ms")
                           .arg(CharacterFileFormat::MaxFrameMs));
    // Layers are flat pairs of numbers, part and matrix, so a frame costs one list.
    const QJsonValue layersValue = o.value(QLatin1String("layers"));
    const QJsonArray layers = layersValue.toArray();
    if (!layersValue.isArray() || layers.size() % 2 != 0)
        place.fail(QStringLiteral("the layers must be a list of part and matrix numbers"));
    const qsizetype count = layers.size() / 2;
    if (count > CharacterFileFormat::MaxLayersPerFrame)
        place.fail(
                QStringLiteral("more than %1 layers").arg(CharacterFileFormat::MaxLayersPerFrame));
    layerTotal += count;
    if (layerTotal > CharacterFileFormat::MaxLayersTotal)
        fail(QStringLiteral("more than %1 layers in all").arg(CharacterFileFormat::MaxLayersTotal));
    frame.layers.resize(count);
    const int matrixCount = int(matrices.size());
    for (qsizetype i = 0; i < count; ++i) {
        CharacterData::Layer &layer = frame.layers[i];
        int matrix = -1;
        if (!wholeNumber(layers[2 * i], 0, partCount - 1, layer.part))
            place.fail(QStringLiteral("layer %1: the part must be a whole number from 0 to %2")
                               .arg(i)
                               .arg(partCount - 1));
        if (!wholeNumber(layers[2 * i + 1], 0, matrixCount - 1, matrix))
            place.fail(QStringLiteral("layer %1: the matrix must be a whole number from 0 to %2")
                               .arg(i)
                               .arg(matrixCount - 1));
        layer.transform = matrices[matrix];
    }
    if (o.contains(QLatin1String("mouth"))) {
        int mouth = -1;
        if (!wholeNumber(o.value(QLatin1String("mouth")), 0, int(count) - 1, mouth))
            place.fail(QStringLiteral("the mouth must be the number of one of its layers"));
        frame.layers[mouth].mouth = true;
    }
    if (o.contains(QLatin1String("opacity"))) {
        const QJsonValue fadesValue = o.value(QLatin1String("opacity"));
        const QJsonArray fades = fadesValue.toArray();
        if (!fadesValue.isArray() || fades.size() > count)
            place.fail(QStringLiteral("the opacities must be a list of layer and opacity pairs"));
        for (const QJsonValue &f : fades) {
            const QJsonArray pair = f.toArray();
            int layer = -1;
            const double opacity = pair.size() == 2 ? pair[1].toDouble(-1) : -1;
            if (!wholeNumber(pair.at(0), 0, int(count) - 1, layer) ||
                !(opacity >= 0.0 && opacity <= 1.0))
                place.fail(
                        QStringLiteral("an opacity needs a layer number and a value from 0 to 1"));
            frame.layers[layer].opacity = opacity;
        }
    }
    if (o.contains(QLatin1String("branches"))) {
        const QJsonValue branchesValue = o.value(QLatin1String("branches"));
        const QJsonArray branches = branchesValue.toArray();
        if (!branchesValue.isArray() || branches.size() > CharacterFileFormat::MaxBranchesPerFrame)
            place.fail(QStringLiteral("the branches must be a list of at most %1")
                               .arg(CharacterFileFormat::MaxBranchesPerFrame));
        int sum = 0;
        for (const QJsonValue &b : branches) {
            const QJsonArray pair = b.toArray();
            CharacterData::Branch branch;
            if (pair.size() != 2 ||
                !wholeNumber(pair[0], 0, CharacterFileFormat::MaxFramesPerAnimation - 1,
                             branch.frame) ||
                !wholeNumber(pair[1], 0, 100, branch.percent))
                place.fail(QStringLiteral("a branch needs a frame and a percentage"));
            sum += branch.percent;
            frame.branches.append(branch);
        }
        if (sum > 100)
            place.fail(QStringLiteral("the branches add up to more than 100%"));
    }
    if (o.contains(QLatin1String("exit")) &&
        !wholeNumber(o.value(QLatin1String("exit")), -1,
                     CharacterFileFormat::MaxFramesPerAnimation - 1, frame.exitFrame))
        place.fail(QStringLiteral("the exit frame must be a frame number or -1"));
    return frame;
}

QList<QTransform> readMatrices(const QJsonValue &value)
{
    const QJsonArray list =
            array(value, QStringLiteral("\"matrices\""), CharacterFileFormat::MaxLayersTotal);
    QList<QTransform> matrices;
    matrices.reserve(list.size());
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QJsonArray m = list[i].toArray();
        double v[6] = {};
        bool ok = m.size() == 6;
        for (int k = 0; ok && k < 6; ++k) {
            v[k] = m[k].toDouble(std::nan(""));
            ok = std::isfinite(v[k]) && std::abs(v[k]) <= 1e6;
        }
        if (!ok)
            fail(QStringLiteral("matrix %1 must be six finite numbers").arg(i));
        matrices.append(QTransform(v[0], v[1], v[2], v[3], v[4], v[5]));
    }
    return matrices;
}

// Parts are self-contained drawings. Anything that reaches outside the part (images and
// links to files, which Qt Svg would open: a hostile file could name a device that never
// ends) or expands without bound (entities, <use> chains) is refused. Elements are judged
// by their local name whatever prefix or namespace they are written with, as Qt Svg draws
// by local name. Returns what is wrong with the part, or nothing.
QString svgFault(const QString &svg)
{
    static const QStringList bannedElements{QStringLiteral("image"), QStringLiteral("use"),
                                            QStringLiteral("script"),
                                            QStringLiteral("foreignObject")};
    const auto unsafe = [](const QString &what) {
        return QStringLiteral("uses %1, which character files may not use").arg(what);
    };
    QXmlStreamReader xml(svg);
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::DTD:
            return unsafe(QStringLiteral("a document type"));
        case QXmlStreamReader::EntityReference:
            return unsafe(QStringLiteral("an entity"));
        case QXmlStreamReader::StartElement:
            if (bannedElements.contains(xml.name()))
                return unsafe(QStringLiteral("<%1>").arg(xml.name()));
            for (const QXmlStreamAttribute &a : xml.attributes()) {
                if (a.name() == QLatin1String("href") && !a.value().startsWith(u'#'))
                    return unsafe(QStringLiteral("a link to \"%1\"").arg(a.value().left(64)));
            }
            break;
        default:
            break;
        }
    }
    if (xml.hasError())
        return QStringLiteral("is not valid SVG (%1 at line %2)")
                .arg(xml.errorString())
                .arg(xml.lineNumber());
    return {};
}

// Checked before anything is decoded, so an oversized file is refused at once.
void checkTotals(const QJsonArray &animations, const QSize &frameSize)
{
    qint64 frames = 0;
    for (const QJsonValue &a : animations)
        frames += a.toObject().value(QLatin1String("frames")).toArray().size();
    if (frames > CharacterFileFormat::MaxFramesTotal)
        fail(QStringLiteral("the animations have %1 frames in all, at most %2 are allowed")
                     .arg(frames)
                     .arg(CharacterFileFormat::MaxFramesTotal));
    const qint64 pixels = frames * frameSize.width() * frameSize.height();
    if (pixels > CharacterFileFormat::MaxFramePixelsTotal)
        fail(QStringLiteral("the frames have %1 pixels in all (%2 frames of %3 x %4), at most "
                            "%5 are allowed")
                     .arg(pixels)
                     .arg(frames)
                     .arg(frameSize.width())
                     .arg(frameSize.height())
                     .arg(CharacterFileFormat::MaxFramePixelsTotal));
}

std::shared_ptr<CharacterData> readDocument(const QJsonObject &root)
{
    auto c = std::make_shared<CharacterData>();
    c->name = name(root.value(QLatin1String("name")), QStringLiteral("\"name\""));
    c->description = text(root, "description");
    c->guid = text(root, "guid", true);
    static const QRegularExpression guidPattern(QStringLiteral(
            "^\\{[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}\\}$"));
    if (!guidPattern.match(c->guid).hasMatch())
        fail(QStringLiteral("\"guid\" must look like {xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}"));
    c->frameSize = QSize(integer(root.value(QLatin1String("width")), QStringLiteral("\"width\""), 8,
                                 CharacterFileFormat::MaxFrameSide),
                         integer(root.value(QLatin1String("height")), QStringLiteral("\"height\""),
                                 8, CharacterFileFormat::MaxFrameSide));

    const QJsonObject voice = root.value(QLatin1String("voice")).toObject();
    if (voice.contains(QLatin1String("name")))
        c->voice = name(voice.value(QLatin1String("name")), QStringLiteral("voice name"));
    if (voice.contains(QLatin1String("pitch")))
        c->voicePitch =
                integer(voice.value(QLatin1String("pitch")), QStringLiteral("voice pitch"), 0, 100);
    if (voice.contains(QLatin1String("rate")))
        c->voiceRate =
                integer(voice.value(QLatin1String("rate")), QStringLiteral("voice rate"), 80, 450);

    const QJsonArray animations =
            array(root.value(QLatin1String("animations")), QStringLiteral("\"animations\""),
                  CharacterFileFormat::MaxAnimations);
    checkTotals(animations, c->frameSize);

    const QJsonArray parts = array(root.value(QLatin1String("parts")), QStringLiteral("\"parts\""),
                                   CharacterFileFormat::MaxParts);
    qint64 svgTotal = 0;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QJsonObject p = parts[i].toObject();
        const QString id = name(p.value(QLatin1String("id")), QStringLiteral("part %1 id").arg(i));
        const QJsonValue svg = p.value(QLatin1String("svg"));
        const QByteArray bytes = svg.toString().toUtf8();
        if (!svg.isString() || bytes.size() > CharacterFileFormat::MaxPartSvgBytes)
            fail(QStringLiteral("part \"%1\" needs an SVG text of at most %2 bytes")
                         .arg(id)
                         .arg(CharacterFileFormat::MaxPartSvgBytes));
        svgTotal += bytes.size();
        if (svgTotal > CharacterFileFormat::MaxPartSvgBytesTotal)
            fail(QStringLiteral("the parts' SVG texts come to more than %1 bytes in all")
                         .arg(CharacterFileFormat::MaxPartSvgBytesTotal));
        if (c->partIndex(id) >= 0)
            fail(QStringLiteral("part \"%1\" appears twice").arg(id));
        if (const QString fault = svgFault(svg.toString()); !fault.isEmpty())
            fail(QStringLiteral("part \"%1\" %2").arg(id, fault));
        if (c->addPart(id, bytes) < 0)
            fail(QStringLiteral("part \"%1\" is not valid SVG").arg(id));
    }

    const QJsonObject mouths = root.value(QLatin1String("mouths")).toObject();
    for (int i = 0; i < MouthShapeCount; ++i) {
        const QString key = CharacterData::mouthName(MouthShape(i));
        if (!mouths.contains(key))
            continue;
        const QString id = name(mouths.value(key), QStringLiteral("mouth \"%1\"").arg(key));
        c->mouths[size_t(i)] = c->partIndex(id);
        if (c->mouths[size_t(i)] < 0)
            fail(QStringLiteral("mouth \"%1\" names a missing part \"%2\"").arg(key, id));
    }

    const QList<QTransform> matrices = readMatrices(root.value(QLatin1String("matrices")));
    qint64 layerTotal = 0;
    for (qsizetype i = 0; i < animations.size(); ++i) {
        if (!animations[i].isObject())
            fail(QStringLiteral("animation %1 must be an object").arg(i));
        const QJsonObject a = animations[i].toObject();
        CharacterData::Animation animation;
        animation.name =
                name(a.value(QLatin1String("name")), QStringLiteral("animation %1 name").arg(i));
        const QString where = QStringLiteral("animation \"%1\"").arg(animation.name);
        if (c->animation(animation.name))
            fail(QStringLiteral("%1 appears twice").arg(where));
        if (a.contains(QLatin1String("return")) &&
            !a.value(QLatin1String("return")).toString().isEmpty())
            animation.returnAnimation =
                    name(a.value(QLatin1String("return")), where + QStringLiteral(" return"));
        animation.loops = a.value(QLatin1String("loop")).toBool(false);
        const QJsonArray frames =
                array(a.value(QLatin1String("frames")), where + QStringLiteral(" frames"),
                      CharacterFileFormat::MaxFramesPerAnimation);
        if (frames.isEmpty())
            fail(QStringLiteral("%1 has no frames").arg(where));
        animation.frames.reserve(frames.size());
        for (qsizetype f = 0; f < frames.size(); ++f)
            animation.frames.append(readFrame(frames[f], FramePlace{animation.name, f}, matrices,
                                              c->partCount(), layerTotal));
        for (const CharacterData::Frame &frame : std::as_const(animation.frames)) {
            bool outside = frame.exitFrame >= animation.frames.size();
            for (const CharacterData::Branch &b : frame.branches)
                outside = outside || b.frame >= animation.frames.size();
            if (outside)
                fail(QStringLiteral("%1 jumps past its last frame").arg(where));
        }
        c->addAnimation(std::move(animation));
    }
    for (const CharacterData::Animation &a : c->animations()) {
        if (!a.returnAnimation.isEmpty() && !c->animation(a.returnAnimation))
            fail(QStringLiteral("animation \"%1\" returns through a missing \"%2\"")
                         .arg(a.name, a.returnAnimation));
    }

    const QJsonObject states = root.value(QLatin1String("states")).toObject();
    auto state = [&](const char *key) {
        const QJsonValue v = states.value(QLatin1String(key));
        if (v.isUndefined())
            return QString();
        const QString n = name(v, QStringLiteral("state \"%1\"").arg(QLatin1String(key)));
        if (!c->animation(n))
            fail(QStringLiteral("state \"%1\" names a missing animation \"%2\"")
                         .arg(QLatin1String(key), n));
        return n;
    };
    c->showAnimation = state("show");
    c->hideAnimation = state("hide");
    c->restAnimation = state("rest");
    c->attentionAnimation = state("attention");
    for (int d = 0; d < 4; ++d)
        c->moveAnimations[size_t(d)] = state(StateNames[d]);
    for (int level = 0; level < 3; ++level) {
        const QString key = QStringLiteral("idle%1").arg(level + 1);
        if (!states.contains(key))
            continue;
        for (const QJsonValue &v :
             array(states.value(key), QStringLiteral("state \"%1\"").arg(key), 64)) {
            const QString n = name(v, QStringLiteral("state \"%1\"").arg(key));
            if (!c->animation(n))
                fail(QStringLiteral("state \"%1\" names a missing animation \"%2\"").arg(key, n));
            c->idleLevels[size_t(level)].append(n);
        }
    }
    return c;
}

// Unpacks a zlib stream that must come to exactly `expected` bytes; a stream that would
// grow past them (a "zip bomb") stops at the limit and counts as damaged.
bool inflateExactly(const uchar *data, qsizetype size, quint32 expected, QByteArray &out)
{
    out = QByteArray(qsizetype(expected), Qt::Uninitialized);
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK)
        return false;
    zs.next_in = const_cast<Bytef *>(data);
    zs.avail_in = uInt(size);
    zs.next_out = reinterpret_cast<Bytef *>(out.data());
    zs.avail_out = uInt(expected);
    const int rc = inflate(&zs, Z_FINISH);
    const bool complete = rc == Z_STREAM_END && zs.total_out == expected && zs.avail_in == 0;
    inflateEnd(&zs);
    return complete;
}

// Three decimals keep the files small and the art exact to a thousandth of a pixel.
double rounded(double v)
{
    return std::round(v * 1000.0) / 1000.0;
}

} // namespace

QString CharacterFileFormat::formatName() const
{
    return QStringLiteral("Quillomi character");
}

bool CharacterFileFormat::recognises(QByteArrayView head) const
{
    return head.size() >= qsizetype(sizeof Magic) &&
           head.first(sizeof Magic) == QByteArrayView(Magic, sizeof Magic);
}

CharacterLoadResult CharacterFileFormat::read(const QByteArray &bytes) const
{
    if (!recognises(bytes))
        return CharacterLoadResult::failure(QStringLiteral("not a Quillomi character file"));
    if (bytes.size() < HeaderBytes)
        return CharacterLoadResult::failure(
                QStringLiteral("the file is truncated (no complete header)"));
    const auto *raw = reinterpret_cast<const uchar *>(bytes.constData());
    const quint16 version = qFromBigEndian<quint16>(raw + 8);
    if (version != Version)
        return CharacterLoadResult::failure(
                QStringLiteral("unsupported format version %1 (this program reads version %2)")
                        .arg(version)
                        .arg(Version));
    const quint32 payloadBytes = qFromBigEndian<quint32>(raw + 12);
    if (qint64(payloadBytes) != bytes.size() - HeaderBytes)
        return CharacterLoadResult::failure(
                QStringLiteral("the file is truncated or has trailing bytes (%1 payload bytes "
                               "announced, %2 present)")
                        .arg(payloadBytes)
                        .arg(bytes.size() - HeaderBytes));
    if (payloadBytes < 4)
        return CharacterLoadResult::failure(QStringLiteral("the payload is empty"));
    // The unpacked length is checked before anything is allocated, and unpacking stops there.
    const quint32 jsonBytes = qFromBigEndian<quint32>(raw + HeaderBytes);
    if (jsonBytes > MaxJsonBytes)
        return CharacterLoadResult::failure(
                QStringLiteral("the payload is too big (%1 bytes unpacked, at most %2)")
                        .arg(jsonBytes)
                        .arg(MaxJsonBytes));
    QByteArray json;
    if (!inflateExactly(raw + HeaderBytes + 4, qsizetype(payloadBytes) - 4, jsonBytes, json))
        return CharacterLoadResult::failure(
                QStringLiteral("the payload is damaged (cannot unpack)"));
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return CharacterLoadResult::failure(
                QStringLiteral("the payload is not valid JSON: %1 at %2")
                        .arg(parseError.errorString())
                        .arg(parseError.offset));
    if (!doc.isObject())
        return CharacterLoadResult::failure(QStringLiteral("the payload is not a JSON object"));
    try {
        return {readDocument(doc.object()), QString()};
    } catch (const Invalid &invalid) {
        return CharacterLoadResult::failure(invalid.message);
    }
}

QByteArray CharacterFileFormat::toJson(const CharacterData &c)
{
    QJsonObject root;
    root.insert(QStringLiteral("name"), c.name);
    if (!c.description.isEmpty())
        root.insert(QStringLiteral("description"), c.description);
    root.insert(QStringLiteral("guid"), c.guid);
    root.insert(QStringLiteral("width"), c.frameSize.width());
    root.insert(QStringLiteral("height"), c.frameSize.height());
    root.insert(QStringLiteral("voice"), QJsonObject{{QStringLiteral("name"), c.voice},
                                                     {QStringLiteral("pitch"), c.voicePitch},
                                                     {QStringLiteral("rate"), c.voiceRate}});
    QJsonObject states;
    auto putState = [&states](const QString &key, const QString &value) {
        if (!value.isEmpty())
            states.insert(key, value);
    };
    putState(QStringLiteral("show"), c.showAnimation);
    putState(QStringLiteral("hide"), c.hideAnimation);
    putState(QStringLiteral("rest"), c.restAnimation);
    putState(QStringLiteral("attention"), c.attentionAnimation);
    for (int d = 0; d < 4; ++d)
        putState(QLatin1String(StateNames[d]), c.moveAnimations[size_t(d)]);
    for (int level = 0; level < 3; ++level) {
        if (!c.idleLevels[size_t(level)].isEmpty())
            states.insert(QStringLiteral("idle%1").arg(level + 1),
                          QJsonArray::fromStringList(c.idleLevels[size_t(level)]));
    }
    root.insert(QStringLiteral("states"), states);

    QJsonArray parts;
    for (int i = 0; i < c.partCount(); ++i)
        parts.append(QJsonObject{{QStringLiteral("id"), c.partId(i)},
                                 {QStringLiteral("svg"), QString::fromUtf8(c.partSvg(i))}});
    root.insert(QStringLiteral("parts"), parts);
    QJsonObject mouths;
    for (int i = 0; i < MouthShapeCount; ++i) {
        if (c.mouths[size_t(i)] >= 0)
            mouths.insert(CharacterData::mouthName(MouthShape(i)), c.partId(c.mouths[size_t(i)]));
    }
    root.insert(QStringLiteral("mouths"), mouths);

    // Parts that move together share a matrix, so each distinct one is stored once.
    QJsonArray matrices;
    QHash<QString, int> matrixIndex;
    auto matrixOf = [&](const QTransform &t) {
        const QJsonArray m{rounded(t.m11()), rounded(t.m12()), rounded(t.m21()),
                           rounded(t.m22()), rounded(t.dx()),  rounded(t.dy())};
        const QString key = QString::fromUtf8(QJsonDocument(m).toJson(QJsonDocument::Compact));
        const auto it = matrixIndex.constFind(key);
        if (it != matrixIndex.cend())
            return *it;
        matrices.append(m);
        return *matrixIndex.insert(key, int(matrices.size()) - 1);
    };
    QJsonArray animations;
    for (const CharacterData::Animation &a : c.animations()) {
        QJsonArray frames;
        for (const CharacterData::Frame &f : a.frames) {
            QJsonArray layers, fades;
            int mouth = -1;
            for (qsizetype i = 0; i < f.layers.size(); ++i) {
                const CharacterData::Layer &l = f.layers[i];
                layers.append(l.part);
                layers.append(matrixOf(l.transform));
                if (l.opacity != 1.0)
                    fades.append(QJsonArray{int(i), rounded(l.opacity)});
                if (l.mouth && mouth < 0)
                    mouth = int(i);
            }
            QJsonObject frame{{QStringLiteral("ms"), f.durationMs},
                              {QStringLiteral("layers"), layers}};
            if (mouth >= 0)
                frame.insert(QStringLiteral("mouth"), mouth);
            if (!fades.isEmpty())
                frame.insert(QStringLiteral("opacity"), fades);
            if (!f.branches.isEmpty()) {
                QJsonArray branches;
                for (const CharacterData::Branch &b : f.branches)
                    branches.append(QJsonArray{b.frame, b.percent});
                frame.insert(QStringLiteral("branches"), branches);
            }
            if (f.exitFrame >= 0)
                frame.insert(QStringLiteral("exit"), f.exitFrame);
            frames.append(frame);
        }
        QJsonObject animation{{QStringLiteral("name"), a.name}, {QStringLiteral("frames"), frames}};
        if (!a.returnAnimation.isEmpty())
            animation.insert(QStringLiteral("return"), a.returnAnimation);
        if (a.loops)
            animation.insert(QStringLiteral("loop"), true);
        animations.append(animation);
    }
    root.insert(QStringLiteral("matrices"), matrices);
    root.insert(QStringLiteral("animations"), animations);
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

QByteArray CharacterFileFormat::wrap(const QByteArray &json, quint16 version)
{
    const QByteArray payload = qCompress(json, 9);
    QByteArray file(HeaderBytes, '\0');
    auto *raw = reinterpret_cast<uchar *>(file.data());
    std::copy(std::begin(Magic), std::end(Magic), file.begin());
    qToBigEndian<quint16>(version, raw + 8);
    qToBigEndian<quint16>(0, raw + 10);
    qToBigEndian<quint32>(quint32(payload.size()), raw + 12);
    return file + payload;
}

QByteArray CharacterFileFormat::write(const CharacterData &character)
{
    return wrap(toJson(character));
}
