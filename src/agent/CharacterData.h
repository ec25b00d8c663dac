#pragma once

#include <QHash>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTransform>
#include <array>
#include <memory>
#include <optional>
#include <vector>

class QSvgRenderer;

// Mouth shapes for lip sync, from shut to widest open.
enum class MouthShape { Closed, Narrow, Medium, Wide1, Wide2, Wide3, Wide4 };
inline constexpr int MouthShapeCount = 7;

// Where a moving character is heading; picks the walk animation.
enum class MoveDirection { Up, Down, Left, Right };

// A decoded character: its identity, its vector parts and its animations. Built once by a
// reader and then shared read-only by every instance (std::shared_ptr<const CharacterData>).
class CharacterData final
{
public:
    // One vector part drawn with a transform; coordinates are logical frame pixels.
    struct Layer
    {
        int part = -1;        // index into parts()
        QTransform transform; // part coordinates -> frame coordinates
        qreal opacity = 1.0;
        bool mouth = false; // the mouth slot: replaced by the spoken mouth shape
    };

    // A way out of a frame chosen at random while it plays (probabilities in percent).
    struct Branch
    {
        int frame = 0;
        int percent = 0;
    };

    struct Frame
    {
        int durationMs = 100;
        QList<Layer> layers; // back to front
        QList<Branch> branches;
        // Frame to jump to when the animation is asked to end early; -1 plays on.
        int exitFrame = -1;
        // Frames that look alike (same layers, places, opacities and mouth slot) share this
        // number, so they are drawn once and a frame like the one before costs nothing.
        // Given by addAnimation(); -1 for a frame outside a character.
        int look = -1;
        // Frames with a mouth slot can speak.
        bool canSpeak() const;
    };

    struct Animation
    {
        QString name;
        QList<Frame> frames;
        QString returnAnimation; // empty when it ends at rest
        bool loops = false;      // plays again from the start until stopped (walks)
        int totalMs() const;
    };

    CharacterData();
    ~CharacterData();
    CharacterData(const CharacterData &) = delete;
    CharacterData &operator=(const CharacterData &) = delete;

    QString name;
    QString description;
    QString guid; // "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}"
    QSize frameSize{128, 128};
    // Default voice: an espeak-ng voice name with pitch (0..100) and rate (words per minute).
    QString voice = QStringLiteral("en-us");
    int voicePitch = 50;
    int voiceRate = 175;

    // Standard animations the component plays on its own (empty when the character lacks them).
    QString showAnimation;
    QString hideAnimation;
    QString restAnimation;      // still pose while speaking or standing
    QString attentionAnimation; // opens an announcement
    std::array<QStringList, 3> idleLevels;
    std::array<QString, 4> moveAnimations; // indexed by MoveDirection

    // Vector parts as SVG documents and the mouth shape parts (indices into parts()).
    // Adds a part; returns its index, or -1 when the SVG does not parse.
    int addPart(const QString &id, const QByteArray &svg);
    int partCount() const { return int(m_parts.size()); }
    int partIndex(const QString &id) const { return m_partIndex.value(id, -1); }
    QString partId(int index) const;
    QByteArray partSvg(int index) const;
    QSvgRenderer *partRenderer(int index) const;
    std::array<int, MouthShapeCount> mouths{-1, -1, -1, -1, -1, -1, -1};

    // Animations by name, compared without regard to case. Numbers the frames' looks.
    void addAnimation(Animation animation);
    // How many distinct looks the frames have.
    int lookCount() const { return int(m_looks.size()); }
    const Animation *animation(const QString &name) const;
    const QList<Animation> &animations() const { return m_animations; }
    QStringList animationNames() const;
    QString moveAnimation(MoveDirection direction) const { return moveAnimations[int(direction)]; }

    static QString mouthName(MouthShape shape);
    static std::optional<MouthShape> mouthFromName(const QString &name);
    static QString directionName(MoveDirection direction);

private:
    struct Part
    {
        QString id;
        QByteArray svg;
        std::unique_ptr<QSvgRenderer> renderer;
    };
    std::vector<Part> m_parts;
    QHash<QString, int> m_partIndex;
    QList<Animation> m_animations;
    QHash<QString, int> m_animationIndex; // lower-case name -> index
    QHash<QByteArray, int> m_looks;       // a frame's layers, packed -> its look
};
