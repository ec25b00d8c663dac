#include "AnimationScript.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <cmath>
#include <numbers>

namespace {

// Pairs of joints moved together; the second mirrors the first (x and rotation flip).
struct Alias
{
    const char *name, *left, *right;
};
constexpr Alias Aliases[] = {{"eyes", "eyeL", "eyeR"},    {"pupils", "pupilL", "pupilR"},
                             {"brows", "browL", "browR"}, {"arms", "armL", "armR"},
                             {"feet", "footL", "footR"},  {"ears", "accL", "accR"}};

AnimationScript::Ease easeFrom(const QString &name)
{
    using E = AnimationScript::Ease;
    if (name == QLatin1String("in"))
        return E::In;
    if (name == QLatin1String("out"))
        return E::Out;
    if (name == QLatin1String("lin"))
        return E::Linear;
    if (name == QLatin1String("back"))
        return E::Back;
    if (name == QLatin1String("step"))
        return E::Step;
    return E::InOut;
}

double ease(AnimationScript::Ease e, double u)
{
    using E = AnimationScript::Ease;
    switch (e) {
    case E::In:
        return u * u * u;
    case E::Out:
        return 1 - std::pow(1 - u, 3);
    case E::Linear:
        return u;
    case E::Back: {
        const double c1 = 1.70158, c3 = c1 + 1;
        return 1 + c3 * std::pow(u - 1, 3) + c1 * std::pow(u - 1, 2);
    }
    case E::Step:
        return u < 1 ? 0 : 1;
    case E::InOut:
        break;
    }
    return u < 0.5 ? 4 * u * u * u : 1 - std::pow(-2 * u + 2, 3) / 2;
}

std::optional<double> field(const QJsonObject &o, const char *key)
{
    const QJsonValue v = o.value(QLatin1String(key));
    return v.isDouble() ? std::optional<double>(v.toDouble()) : std::nullopt;
}

AnimationScript::Pose readPose(const QJsonObject &o)
{
    AnimationScript::Pose p;
    p.x = field(o, "x");
    p.y = field(o, "y");
    p.r = field(o, "r");
    p.sx = field(o, "sx");
    p.sy = field(o, "sy");
    p.o = field(o, "o");
    if (const auto s = field(o, "s")) {
        p.sx = p.sx ? *p.sx * *s : *s;
        p.sy = p.sy ? *p.sy * *s : *s;
    }
    return p;
}

AnimationScript::Pose mirrored(AnimationScript::Pose p)
{
    if (p.x)
        p.x = -*p.x;
    if (p.r)
        p.r = -*p.r;
    return p;
}

struct Value
{
    double x = 0, y = 0, r = 0, sx = 1, sy = 1, o = 1;
};

Value resolve(const AnimationScript::Pose &p, double restOpacity, double amplitude)
{
    Value v;
    v.x = p.x.value_or(0) * amplitude;
    v.y = p.y.value_or(0) * amplitude;
    v.r = p.r.value_or(0) * amplitude;
    v.sx = 1 + (p.sx.value_or(1) - 1) * amplitude;
    v.sy = 1 + (p.sy.value_or(1) - 1) * amplitude;
    v.o = p.o.value_or(restOpacity);
    return v;
}

Value sampleTrack(const QList<AnimationScript::Key> &keys, double t, double restOpacity,
                  double amplitude)
{
    if (t <= keys.first().ms)
        return resolve(keys.first().pose, restOpacity, amplitude);
    for (qsizetype i = 1; i < keys.size(); ++i) {
        if (t > keys[i].ms)
            continue;
        const Value a = resolve(keys[i - 1].pose, restOpacity, amplitude);
        const Value b = resolve(keys[i].pose, restOpacity, amplitude);
        const double span = keys[i].ms - keys[i - 1].ms;
        const double u = ease(keys[i].ease, span > 0 ? (t - keys[i - 1].ms) / span : 1);
        auto mix = [u](double p, double q) {
            return p + (q - p) * u;
        };
        return {mix(a.x, b.x),   mix(a.y, b.y),   mix(a.r, b.r),
                mix(a.sx, b.sx), mix(a.sy, b.sy), std::clamp(mix(a.o, b.o), 0.0, 1.0)};
    }
    return resolve(keys.last().pose, restOpacity, amplitude);
}

// A quick shut-and-open of the eyes centred on `at`.
double blinkFactor(const QList<double> &blinks, double realMs, double tempo)
{
    constexpr double half = 70;
    double f = 1;
    for (double at : blinks) {
        const double d = std::abs(realMs - at * tempo);
        if (d < half)
            f = std::min(f, 0.1 + 0.9 * ease(AnimationScript::Ease::InOut, d / half));
    }
    return f;
}

QTransform localTransform(const QPointF &pivot, const Value &v)
{
    QTransform m = QTransform::fromTranslate(-pivot.x(), -pivot.y());
    m *= QTransform::fromScale(v.sx, v.sy);
    m *= QTransform().rotate(v.r);
    m *= QTransform::fromTranslate(pivot.x() + v.x, pivot.y() + v.y);
    return m;
}

double round3(double v)
{
    return std::round(v * 1000) / 1000;
}

QTransform rounded(const QTransform &t)
{
    return QTransform(round3(t.m11()), round3(t.m12()), round3(t.m21()), round3(t.m22()),
                      round3(t.dx()), round3(t.dy()));
}

bool sameFrame(const CharacterData::Frame &a, const CharacterData::Frame &b)
{
    if (a.layers.size() != b.layers.size())
        return false;
    for (qsizetype i = 0; i < a.layers.size(); ++i) {
        const CharacterData::Layer &p = a.layers[i], &q = b.layers[i];
        if (p.part != q.part || p.transform != q.transform || p.opacity != q.opacity)
            return false;
    }
    return true;
}

} // namespace

bool AnimationScript::parse(const QByteArray &json, QString *error)
{
    QJsonParseError parseError;
    const QJsonObject root = QJsonDocument::fromJson(json, &parseError).object();
    if (parseError.error != QJsonParseError::NoError) {
        *error = QStringLiteral("animations: %1 at %2")
                         .arg(parseError.errorString())
                         .arg(parseError.offset);
        return false;
    }
    const int defaultFps = root.value(QLatin1String("fps")).toInt(15);
    for (const QJsonValue &v : root.value(QLatin1String("animations")).toArray()) {
        const QJsonObject a = v.toObject();
        Script s;
        s.name = a.value(QLatin1String("name")).toString();
        s.lengthMs = a.value(QLatin1String("len")).toDouble();
        s.fps = a.value(QLatin1String("fps")).toInt(defaultFps);
        s.loops = a.value(QLatin1String("loop")).toBool();
        s.returnAnimation = a.value(QLatin1String("return")).toString();
        s.breathes = a.value(QLatin1String("breathe")).toBool();
        const QJsonArray exit = a.value(QLatin1String("exit")).toArray();
        if (exit.size() == 2) {
            s.exitFromMs = exit[0].toDouble();
            s.exitToMs = exit[1].toDouble();
        }
        for (const QJsonValue &b : a.value(QLatin1String("blinks")).toArray())
            s.blinks.append(b.toDouble());
        for (const QJsonValue &m : a.value(QLatin1String("mouth")).toArray())
            s.mouth.append({m.toArray().at(0).toDouble(), m.toArray().at(1).toString()});
        if (s.name.isEmpty() || s.lengthMs <= 0) {
            *error = QStringLiteral("animation %1 needs a name and a length").arg(s.name);
            return false;
        }
        const QJsonObject tracks = a.value(QLatin1String("tracks")).toObject();
        for (auto it = tracks.begin(); it != tracks.end(); ++it) {
            QList<Key> keys;
            for (const QJsonValue &k : it.value().toArray()) {
                const QJsonArray key = k.toArray();
                Key next{key.at(0).toDouble(), readPose(key.at(1).toObject()),
                         easeFrom(key.at(2).toString())};
                // Transforms left out mean "at rest"; opacity left out holds, so a prop
                // faded in stays while it moves.
                if (!next.pose.o && !keys.isEmpty())
                    next.pose.o = keys.last().pose.o;
                keys.append(next);
            }
            if (keys.isEmpty())
                continue;
            const auto alias =
                    std::find_if(std::begin(Aliases), std::end(Aliases), [&](const Alias &al) {
                        return it.key() == QLatin1String(al.name);
                    });
            if (alias == std::end(Aliases)) {
                s.tracks.append(Track{it.key(), keys});
                continue;
            }
            s.tracks.append(Track{QLatin1String(alias->left), keys});
            for (Key &k : keys)
                k.pose = mirrored(k.pose);
            s.tracks.append(Track{QLatin1String(alias->right), keys});
        }
        m_scripts.append(s);
    }
    const QJsonObject states = root.value(QLatin1String("states")).toObject();
    m_states.show = states.value(QLatin1String("show")).toString();
    m_states.hide = states.value(QLatin1String("hide")).toString();
    m_states.rest = states.value(QLatin1String("rest")).toString();
    m_states.attention = states.value(QLatin1String("attention")).toString();
    for (int level = 0; level < 3; ++level) {
        for (const QJsonValue &n : states.value(QStringLiteral("idle%1").arg(level + 1)).toArray())
            m_states.idle[level].append(n.toString());
    }
    const char *moves[] = {"moveUp", "moveDown", "moveLeft", "moveRight"};
    for (int d = 0; d < 4; ++d)
        m_states.move[d] = states.value(QLatin1String(moves[d])).toString();
    return true;
}

CharacterData::Animation AnimationScript::sample(const Script &script,
                                                 const CharacterSource &source) const
{
    const double tempo = source.tempo;
    const double length = script.lengthMs * tempo;
    const int frameMs = int(std::lround(1000.0 / script.fps));
    // Looping animations leave out the last sample: it equals the first.
    const int count = std::max(1, int(std::ceil(length / frameMs - 1e-6)) + (script.loops ? 0 : 1));

    QList<const Track *> byJoint(source.joints.size(), nullptr);
    for (const Track &t : script.tracks) {
        const int j = source.joint(t.joint);
        if (j >= 0)
            byJoint[j] = &t;
    }

    CharacterData::Animation animation;
    animation.name = script.name;
    animation.loops = script.loops;
    animation.returnAnimation = script.returnAnimation;
    const QSize frameSize = source.character->frameSize;
    const QTransform fit =
            QTransform::fromTranslate(-frameSize.width() / 2.0, -frameSize.height()) *
            QTransform::fromScale(source.fit, source.fit) *
            QTransform::fromTranslate(frameSize.width() / 2.0, frameSize.height());
    QList<QTransform> world(source.joints.size());
    QList<double> startMs; // real start time of each kept frame
    QList<double> opacity(source.joints.size());
    for (int i = 0; i < count; ++i) {
        const double realMs = std::min(double(i) * frameMs, length);
        const double t = realMs / tempo; // script time
        for (int j = 0; j < source.joints.size(); ++j) {
            const CharacterSource::Joint &joint = source.joints[j];
            Value v;
            v.o = joint.opacity;
            if (const Track *track = byJoint[j])
                v = sampleTrack(track->keys, t, joint.opacity, source.amplitude);
            if (joint.id.startsWith(QLatin1String("eye")))
                v.sy *= blinkFactor(script.blinks, realMs, tempo);
            if (script.breathes && joint.id == QLatin1String("body")) {
                // Whole breaths over the animation, so it starts and ends at rest.
                const int breaths = std::max(1, int(std::lround(script.lengthMs / 2600)));
                const double s = std::sin(2 * std::numbers::pi * breaths * t / script.lengthMs);
                v.sy *= 1 + 0.018 * s * s;
                v.sx *= 1 - 0.008 * s * s;
            }
            const QTransform local = localTransform(joint.pivot, v);
            world[j] = joint.parent >= 0 ? local * world[joint.parent] : local * fit;
            opacity[j] = joint.parent >= 0 ? v.o * opacity[joint.parent] : v.o;
        }
        QString mouth = QStringLiteral("closed");
        for (const auto &[at, shape] : script.mouth) {
            if (at <= t + 1e-6)
                mouth = shape;
        }
        CharacterData::Frame frame;
        frame.durationMs = frameMs;
        for (const CharacterSource::Slot &slot : source.drawOrder) {
            if (opacity[slot.joint] < 0.02)
                continue;
            CharacterData::Layer layer;
            layer.mouth = slot.part < 0;
            layer.part = layer.mouth
                                 ? source.mouthParts.value(
                                           mouth, source.mouthParts.value(QStringLiteral("closed")))
                                 : slot.part;
            layer.transform = rounded(QTransform::fromTranslate(slot.at.x(), slot.at.y()) *
                                      world[slot.joint]);
            layer.opacity = round3(opacity[slot.joint]);
            frame.layers.append(layer);
        }
        // Holds become one longer frame: fewer wake-ups while nothing moves.
        if (!animation.frames.isEmpty() && sameFrame(animation.frames.last(), frame) &&
            animation.frames.last().durationMs + frameMs <= 2000) {
            animation.frames.last().durationMs += frameMs;
            continue;
        }
        animation.frames.append(frame);
        startMs.append(realMs);
    }
    // Frames before the exit point skip to it when the animation must end early, so a
    // dozing character wakes up instead of snapping to rest.
    if (script.exitToMs >= 0) {
        auto frameAt = [&](double ms) {
            return int(std::lower_bound(startMs.cbegin(), startMs.cend(), ms * tempo - 1e-6) -
                       startMs.cbegin());
        };
        const int from = frameAt(script.exitFromMs), to = frameAt(script.exitToMs);
        for (int i = from; i < to && to < animation.frames.size(); ++i)
            animation.frames[i].exitFrame = to;
    }
    return animation;
}

bool AnimationScript::build(CharacterSource &source, QString *error) const
{
    CharacterData &c = *source.character;
    for (const Script &s : m_scripts)
        c.addAnimation(sample(s, source));
    auto state = [&](const QString &name) -> QString {
        if (!name.isEmpty() && !c.animation(name))
            *error = QStringLiteral("state names a missing animation %1").arg(name);
        return name;
    };
    c.showAnimation = state(m_states.show);
    c.hideAnimation = state(m_states.hide);
    c.restAnimation = state(m_states.rest);
    c.attentionAnimation = state(m_states.attention);
    for (int level = 0; level < 3; ++level) {
        for (const QString &n : m_states.idle[level])
            c.idleLevels[size_t(level)].append(state(n));
    }
    for (int d = 0; d < 4; ++d)
        c.moveAnimations[size_t(d)] = state(m_states.move[d]);
    for (const CharacterData::Animation &a : c.animations()) {
        if (!a.returnAnimation.isEmpty())
            state(a.returnAnimation);
    }
    return error->isEmpty();
}
