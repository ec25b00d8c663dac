#include "FormatTestCharacter.h"

namespace FormatTestCharacter {

QByteArray squareSvg(const char *color)
{
    return QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 40 40\">"
                      "<rect x=\"0\" y=\"0\" width=\"10\" height=\"10\" fill=\"") +
           color + "\"/></svg>";
}

std::shared_ptr<CharacterData> make()
{
    auto c = std::make_shared<CharacterData>();
    c->name = QStringLiteral("Tester");
    c->description = QStringLiteral("A square.");
    c->guid = QStringLiteral("{01234567-89AB-CDEF-0123-456789ABCDEF}");
    c->frameSize = QSize(40, 40);
    c->voice = QStringLiteral("en-us+m2");
    c->voicePitch = 30;
    c->voiceRate = 200;
    const int square = c->addPart(QStringLiteral("square"), squareSvg("#ff0000"));
    const int closed = c->addPart(QStringLiteral("mouth_closed"), squareSvg("#0000ff"));
    const int wide = c->addPart(QStringLiteral("mouth_wide4"), squareSvg("#00ff00"));
    c->mouths[size_t(MouthShape::Closed)] = closed;
    c->mouths[size_t(MouthShape::Wide4)] = wide;

    CharacterData::Frame still;
    still.durationMs = 100;
    still.layers = {{square, QTransform::fromTranslate(0, 0), 1.0, false},
                    {closed, QTransform::fromTranslate(20, 20), 1.0, true}};

    CharacterData::Animation rest{QStringLiteral("RestPose"), {still}, {}, false};
    c->addAnimation(rest);

    CharacterData::Frame moved = still;
    moved.durationMs = 250;
    moved.layers[0].transform = QTransform::fromTranslate(30, 0);
    moved.layers[0].opacity = 0.5;
    moved.branches = {{0, 30}, {1, 20}};
    moved.exitFrame = 0;
    CharacterData::Frame silent;
    silent.durationMs = 60;
    silent.layers = {{square, QTransform(2, 0, 0, 2, 0, 20), 1.0, false}};
    c->addAnimation(
            {QStringLiteral("Slide"), {still, moved, silent}, QStringLiteral("RestPose"), false});
    c->addAnimation({QStringLiteral("Walk"), {still, moved}, {}, true});

    c->restAnimation = QStringLiteral("RestPose");
    c->showAnimation = QStringLiteral("Slide");
    c->hideAnimation = QStringLiteral("Slide");
    c->attentionAnimation = QStringLiteral("Slide");
    c->idleLevels[0] = {QStringLiteral("RestPose")};
    c->idleLevels[2] = {QStringLiteral("Slide"), QStringLiteral("Walk")};
    c->moveAnimations[size_t(MoveDirection::Left)] = QStringLiteral("Walk");
    return c;
}

} // namespace FormatTestCharacter
