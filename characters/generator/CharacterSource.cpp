#include "CharacterSource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QByteArray readFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1").arg(path);
        return {};
    }
    return file.readAll();
}

QPointF point(const QJsonValue &v)
{
    const QJsonArray a = v.toArray();
    return a.size() == 2 ? QPointF(a[0].toDouble(), a[1].toDouble()) : QPointF();
}

QString num(double v)
{
    return QString::number(v, 'f', 2);
}

QByteArray svg(const QSize &size, const QString &body)
{
    return QStringLiteral(
                   "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 %1 %2\">%3</svg>")
            .arg(size.width())
            .arg(size.height())
            .arg(body)
            .toUtf8();
}

// Face features are drawn from a few numbers so every character gets the full set of
// mouths, eyes and brows in its own proportions.
struct Face
{
    QString outline, white, pupil, iris, mouthFill, tongue, cheek;
    double stroke = 2.5;
    QPointF eye[2], mouth, cheekAt[2];
    double eyeRx = 9, eyeRy = 11, pupilR = 5, browW = 10, browGap = 5, mouthScale = 1;
    double cheekRx = 6, cheekRy = 4;
};

Face readFace(const QJsonObject &o)
{
    Face f;
    f.outline = o.value(QLatin1String("outline")).toString(QStringLiteral("#1d2630"));
    f.white = o.value(QLatin1String("white")).toString(QStringLiteral("#ffffff"));
    f.pupil = o.value(QLatin1String("pupil")).toString(f.outline);
    f.iris = o.value(QLatin1String("iris")).toString(f.pupil);
    f.mouthFill = o.value(QLatin1String("mouthFill")).toString(QStringLiteral("#5b2030"));
    f.tongue = o.value(QLatin1String("tongue")).toString(QStringLiteral("#f27d8c"));
    f.cheek = o.value(QLatin1String("cheek")).toString();
    f.stroke = o.value(QLatin1String("stroke")).toDouble(2.5);
    f.eye[0] = point(o.value(QLatin1String("eyeL")));
    f.eye[1] = point(o.value(QLatin1String("eyeR")));
    f.eyeRx = o.value(QLatin1String("eyeRx")).toDouble(9);
    f.eyeRy = o.value(QLatin1String("eyeRy")).toDouble(11);
    f.pupilR = o.value(QLatin1String("pupilR")).toDouble(5);
    f.browW = o.value(QLatin1String("browW")).toDouble(10);
    f.browGap = o.value(QLatin1String("browGap")).toDouble(5);
    f.mouth = point(o.value(QLatin1String("mouth")));
    f.mouthScale = o.value(QLatin1String("mouthScale")).toDouble(1);
    f.cheekAt[0] = point(o.value(QLatin1String("cheekL")));
    f.cheekAt[1] = point(o.value(QLatin1String("cheekR")));
    f.cheekRx = o.value(QLatin1String("cheekRx")).toDouble(6);
    f.cheekRy = o.value(QLatin1String("cheekRy")).toDouble(4);
    return f;
}

QString eyeSvg(const Face &f, int side)
{
    return QStringLiteral("<ellipse cx=\"%1\" cy=\"%2\" rx=\"%3\" ry=\"%4\" fill=\"%5\" "
                          "stroke=\"%6\" stroke-width=\"%7\"/>")
            .arg(num(f.eye[side].x()), num(f.eye[side].y()), num(f.eyeRx), num(f.eyeRy), f.white,
                 f.outline, num(f.stroke));
}

QString pupilSvg(const Face &f, int side)
{
    // Resting pupils sit a little low and towards the middle: the character looks at you.
    const double cx = f.eye[side].x() + (side == 0 ? 0.8 : -0.8);
    const double cy = f.eye[side].y() + f.eyeRy * 0.12;
    const double r = f.pupilR;
    return QStringLiteral("<circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"%4\"/>"
                          "<circle cx=\"%1\" cy=\"%2\" r=\"%5\" fill=\"%6\"/>"
                          "<circle cx=\"%7\" cy=\"%8\" r=\"%9\" fill=\"#ffffff\"/>")
            .arg(num(cx), num(cy), num(r), f.iris, num(r * 0.62), f.pupil, num(cx + r * 0.38),
                 num(cy - r * 0.42))
            .arg(num(r * 0.32));
}

QString browSvg(const Face &f, int side)
{
    const double cx = f.eye[side].x();
    const double cy = f.eye[side].y() - f.eyeRy - f.browGap;
    const double w = f.browW / 2;
    return QStringLiteral("<path d=\"M%1 %2 Q%3 %4 %5 %2\" fill=\"none\" stroke=\"%6\" "
                          "stroke-width=\"%7\" stroke-linecap=\"round\"/>")
            .arg(num(cx - w), num(cy + 1.5), num(cx), num(cy - 2), num(cx + w), f.outline,
                 num(f.stroke + 0.8));
}

QString cheeksSvg(const Face &f)
{
    QString out;
    for (const QPointF &c : f.cheekAt)
        out += QStringLiteral("<ellipse cx=\"%1\" cy=\"%2\" rx=\"%3\" ry=\"%4\" fill=\"%5\" "
                              "fill-opacity=\"0.6\"/>")
                       .arg(num(c.x()), num(c.y()), num(f.cheekRx), num(f.cheekRy), f.cheek);
    return out;
}

// Open mouths: a flatter top and a rounder bottom, a tongue once they open wide.
QString openMouth(const Face &f, double w, double h, bool tongue)
{
    const double x = f.mouth.x(), y = f.mouth.y();
    QString out = QString::asprintf(
            "<path d=\"M%.2f %.2f C%.2f %.2f %.2f %.2f %.2f %.2f "
            "C%.2f %.2f %.2f %.2f %.2f %.2f Z\" fill=\"%s\" stroke=\"%s\" "
            "stroke-width=\"%.2f\" stroke-linejoin=\"round\"/>",
            x - w, y, x - w, y - 0.55 * h, x + w, y - 0.55 * h, x + w, y, x + w, y + 1.3 * h, x - w,
            y + 1.3 * h, x - w, y, qPrintable(f.mouthFill), qPrintable(f.outline), f.stroke * 0.85);
    if (tongue)
        out += QString::asprintf("<ellipse cx=\"%.2f\" cy=\"%.2f\" rx=\"%.2f\" ry=\"%.2f\" "
                                 "fill=\"%s\"/>",
                                 x, y + 0.62 * h, 0.5 * w, 0.26 * h, qPrintable(f.tongue));
    return out;
}

QString lineMouth(const Face &f, double w, double bend)
{
    const double x = f.mouth.x(), y = f.mouth.y();
    return QStringLiteral("<path d=\"M%1 %2 Q%3 %4 %5 %2\" fill=\"none\" stroke=\"%6\" "
                          "stroke-width=\"%7\" stroke-linecap=\"round\"/>")
            .arg(num(x - w), num(y - bend * 0.3), num(x), num(y + bend), num(x + w), f.outline,
                 num(f.stroke));
}

QList<QPair<QString, QString>> mouthSvgs(const Face &f)
{
    const double k = f.mouthScale;
    QString grin = QStringLiteral("<path d=\"M%1 %2 C%1 %3 %4 %3 %4 %2 Z\" fill=\"%5\" "
                                  "stroke=\"%6\" stroke-width=\"%7\" stroke-linejoin=\"round\"/>")
                           .arg(num(f.mouth.x() - 9 * k), num(f.mouth.y() - 2 * k),
                                num(f.mouth.y() + 11 * k), num(f.mouth.x() + 9 * k), f.mouthFill,
                                f.outline, num(f.stroke * 0.85));
    grin += QStringLiteral("<ellipse cx=\"%1\" cy=\"%2\" rx=\"%3\" ry=\"%4\" fill=\"%5\"/>")
                    .arg(num(f.mouth.x()), num(f.mouth.y() + 4.5 * k), num(4.2 * k), num(2.2 * k),
                         f.tongue);
    return {
            {QStringLiteral("closed"), lineMouth(f, 6.5 * k, 3.5 * k)},
            {QStringLiteral("narrow"), openMouth(f, 4 * k, 2.6 * k, false)},
            {QStringLiteral("medium"), openMouth(f, 5.5 * k, 4 * k, false)},
            {QStringLiteral("wide1"), openMouth(f, 6.5 * k, 5 * k, true)},
            {QStringLiteral("wide2"), openMouth(f, 7.2 * k, 6.2 * k, true)},
            {QStringLiteral("wide3"), openMouth(f, 7.8 * k, 7.4 * k, true)},
            {QStringLiteral("wide4"), openMouth(f, 8.2 * k, 8.6 * k, true)},
            {QStringLiteral("smile"), grin},
            {QStringLiteral("frown"), lineMouth(f, 5.5 * k, -3.5 * k)},
            {QStringLiteral("flat"), lineMouth(f, 5 * k, 0.3)},
    };
}

} // namespace

int CharacterSource::joint(const QString &id) const
{
    for (int i = 0; i < joints.size(); ++i) {
        if (joints[i].id == id)
            return i;
    }
    return -1;
}

std::unique_ptr<CharacterSource> CharacterSource::load(const QString &dir, QString *error)
{
    const QByteArray json = readFile(QDir(dir).filePath(QStringLiteral("character.json")), error);
    if (json.isEmpty())
        return nullptr;
    QJsonParseError parseError;
    const QJsonObject root = QJsonDocument::fromJson(json, &parseError).object();
    if (parseError.error != QJsonParseError::NoError) {
        *error = QStringLiteral("%1/character.json: %2").arg(dir, parseError.errorString());
        return nullptr;
    }

    auto source = std::make_unique<CharacterSource>();
    source->outputFile = root.value(QLatin1String("file")).toString();
    source->tempo = root.value(QLatin1String("tempo")).toDouble(1.0);
    source->amplitude = root.value(QLatin1String("amplitude")).toDouble(1.0);
    source->fit = root.value(QLatin1String("fit")).toDouble(1.0);
    auto c = std::make_shared<CharacterData>();
    c->name = root.value(QLatin1String("name")).toString();
    c->description = root.value(QLatin1String("description")).toString();
    c->guid = root.value(QLatin1String("guid")).toString();
    const QJsonArray size = root.value(QLatin1String("size")).toArray();
    c->frameSize = QSize(size.at(0).toInt(128), size.at(1).toInt(128));
    const QJsonObject voice = root.value(QLatin1String("voice")).toObject();
    c->voice = voice.value(QLatin1String("name")).toString(c->voice);
    c->voicePitch = voice.value(QLatin1String("pitch")).toInt(c->voicePitch);
    c->voiceRate = voice.value(QLatin1String("rate")).toInt(c->voiceRate);
    source->character = c;

    auto addJoint = [&](const QString &id, const QString &parent, QPointF pivot, double opacity) {
        const int p = parent.isEmpty() ? -1 : source->joint(parent);
        if (!parent.isEmpty() && p < 0) {
            *error = QStringLiteral("joint %1: unknown parent %2").arg(id, parent);
            return false;
        }
        source->joints.append(Joint{id, p, pivot, opacity});
        return true;
    };
    for (const QJsonValue &v : root.value(QLatin1String("joints")).toArray()) {
        const QJsonObject j = v.toObject();
        if (!addJoint(j.value(QLatin1String("id")).toString(),
                      j.value(QLatin1String("parent")).toString(),
                      point(j.value(QLatin1String("pivot"))),
                      j.value(QLatin1String("opacity")).toDouble(1.0)))
            return nullptr;
    }

    auto addPart = [&](const QString &id, const QByteArray &bytes) {
        const int index = c->addPart(id, bytes);
        if (index < 0)
            *error = QStringLiteral("part %1 of %2 is not valid SVG").arg(id, dir);
        return index;
    };

    const Face face = readFace(root.value(QLatin1String("face")).toObject());
    const QString head = QStringLiteral("head");
    for (int side = 0; side < 2; ++side) {
        const QString s = side == 0 ? QStringLiteral("L") : QStringLiteral("R");
        const QPointF brow = face.eye[side] - QPointF(0, face.eyeRy + face.browGap);
        if (!addJoint(QStringLiteral("eye") + s, head, face.eye[side], 1) ||
            !addJoint(QStringLiteral("pupil") + s, QStringLiteral("eye") + s, face.eye[side], 1) ||
            !addJoint(QStringLiteral("brow") + s, head, brow, 1))
            return nullptr;
    }
    if (!addJoint(QStringLiteral("mouth"), head, face.mouth, 1) ||
        !addJoint(QStringLiteral("cheeks"), head, face.mouth, 1))
        return nullptr;
    for (const auto &[shape, body] : mouthSvgs(face)) {
        const int index = addPart(QStringLiteral("mouth_") + shape, svg(c->frameSize, body));
        if (index < 0)
            return nullptr;
        source->mouthParts.insert(shape, index);
        if (const auto m = CharacterData::mouthFromName(shape))
            c->mouths[size_t(*m)] = index;
    }

    auto addSlot = [&](const QString &jointId, const QString &partId, const QByteArray &bytes,
                       QPointF at) {
        const int j = source->joint(jointId);
        if (j < 0) {
            *error = QStringLiteral("part %1: unknown joint %2").arg(partId, jointId);
            return false;
        }
        const int part = addPart(partId, bytes);
        if (part < 0)
            return false;
        source->drawOrder.append(Slot{part, j, at});
        return true;
    };

    const QString propsDir = QDir(dir).filePath(QStringLiteral("../common/props"));
    for (const QJsonValue &v : root.value(QLatin1String("draw")).toArray()) {
        if (v.toString() == QLatin1String("face")) {
            if (!face.cheek.isEmpty() &&
                !addSlot(QStringLiteral("cheeks"), QStringLiteral("cheeks"),
                         svg(c->frameSize, cheeksSvg(face)), {}))
                return nullptr;
            for (int side = 0; side < 2; ++side) {
                const QString s = side == 0 ? QStringLiteral("L") : QStringLiteral("R");
                if (!addSlot(QStringLiteral("eye") + s, QStringLiteral("eye") + s,
                             svg(c->frameSize, eyeSvg(face, side)), {}) ||
                    !addSlot(QStringLiteral("pupil") + s, QStringLiteral("pupil") + s,
                             svg(c->frameSize, pupilSvg(face, side)), {}) ||
                    !addSlot(QStringLiteral("brow") + s, QStringLiteral("brow") + s,
                             svg(c->frameSize, browSvg(face, side)), {}))
                    return nullptr;
            }
            source->drawOrder.append(Slot{-1, source->joint(QStringLiteral("mouth")), {}});
            continue;
        }
        if (v.toString() == QLatin1String("props")) {
            // Props hang off anchor joints of the rig and are hidden until an animation
            // fades them in. Each prop SVG is drawn around its own origin.
            const QByteArray list =
                    readFile(QDir(propsDir).filePath(QStringLiteral("props.json")), error);
            for (const QJsonValue &p : QJsonDocument::fromJson(list).array()) {
                const QJsonObject prop = p.toObject();
                const QString id = prop.value(QLatin1String("id")).toString();
                const QString anchor = prop.value(QLatin1String("anchor")).toString();
                const int a = source->joint(anchor);
                if (a < 0) {
                    *error = QStringLiteral("prop %1: the rig has no anchor %2").arg(id, anchor);
                    return nullptr;
                }
                const QPointF at = source->joints[a].pivot;
                if (!addJoint(id, anchor, at, 0))
                    return nullptr;
                const QByteArray bytes = readFile(
                        QDir(propsDir).filePath(prop.value(QLatin1String("file")).toString()),
                        error);
                if (bytes.isEmpty() || !addSlot(id, id, bytes, at))
                    return nullptr;
            }
            continue;
        }
        const QJsonArray entry = v.toArray();
        const QString file = entry.at(1).toString();
        const QByteArray bytes = readFile(QDir(dir).filePath(file), error);
        if (bytes.isEmpty() ||
            !addSlot(entry.at(0).toString(), QFileInfo(file).completeBaseName(), bytes, {}))
            return nullptr;
    }
    return source;
}
