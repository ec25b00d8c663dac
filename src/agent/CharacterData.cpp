#include "agent/CharacterData.h"

#include <QSvgRenderer>
#include <algorithm>

namespace {
const std::array<const char *, MouthShapeCount> MouthNames{"closed", "narrow", "medium", "wide1",
                                                           "wide2",  "wide3",  "wide4"};
const std::array<const char *, 4> DirectionNames{"up", "down", "left", "right"};
} // namespace

bool CharacterData::Frame::canSpeak() const
{
    return std::any_of(layers.cbegin(), layers.cend(), [](const Layer &l) { return l.mouth; });
}

int CharacterData::Animation::totalMs() const
{
    int total = 0;
    for (const Frame &f : frames)
        total += f.durationMs;
    return total;
}

CharacterData::CharacterData() = default;
CharacterData::~CharacterData() = default;

int CharacterData::addPart(const QString &id, const QByteArray &svg)
{
    auto renderer = std::make_unique<QSvgRenderer>(svg);
    if (!renderer->isValid())
        return -1;
    const int index = int(m_parts.size());
    m_parts.push_back(Part{id, svg, std::move(renderer)});
    m_partIndex.insert(id, index);
    return index;
}

QString CharacterData::partId(int index) const
{
    return index >= 0 && index < partCount() ? m_parts[size_t(index)].id : QString();
}

QByteArray CharacterData::partSvg(int index) const
{
    return index >= 0 && index < partCount() ? m_parts[size_t(index)].svg : QByteArray();
}

QSvgRenderer *CharacterData::partRenderer(int index) const
{
    return index >= 0 && index < partCount() ? m_parts[size_t(index)].renderer.get() : nullptr;
}

void CharacterData::addAnimation(Animation animation)
{
    for (Frame &frame : animation.frames) {
        QByteArray packed;
        packed.reserve(frame.layers.size() * qsizetype(sizeof(double) * 8));
        for (const Layer &l : std::as_const(frame.layers)) {
            const double values[] = {double(l.part),    l.transform.m11(),
                                     l.transform.m12(), l.transform.m21(),
                                     l.transform.m22(), l.transform.dx(),
                                     l.transform.dy(),  l.opacity + (l.mouth ? 10.0 : 0.0)};
            packed.append(reinterpret_cast<const char *>(values), sizeof values);
        }
        frame.look = *m_looks.insert(packed, m_looks.value(packed, int(m_looks.size())));
    }
    const QString key = animation.name.toLower();
    if (const auto it = m_animationIndex.constFind(key); it != m_animationIndex.cend()) {
        m_animations[*it] = std::move(animation);
        return;
    }
    m_animationIndex.insert(key, int(m_animations.size()));
    m_animations.append(std::move(animation));
}

const CharacterData::Animation *CharacterData::animation(const QString &name) const
{
    const auto it = m_animationIndex.constFind(name.toLower());
    return it == m_animationIndex.cend() ? nullptr : &m_animations[*it];
}

QStringList CharacterData::animationNames() const
{
    QStringList names;
    names.reserve(m_animations.size());
    for (const Animation &a : m_animations)
        names.append(a.name);
    return names;
}

QString CharacterData::mouthName(MouthShape shape)
{
    return QString::fromLatin1(MouthNames[size_t(shape)]);
}

std::optional<MouthShape> CharacterData::mouthFromName(const QString &name)
{
    for (size_t i = 0; i < MouthNames.size(); ++i) {
        if (name.compare(QLatin1String(MouthNames[i]), Qt::CaseInsensitive) == 0)
            return MouthShape(i);
    }
    return std::nullopt;
}

QString CharacterData::directionName(MoveDirection direction)
{
    return QString::fromLatin1(DirectionNames[size_t(direction)]);
}
