#include "RuntimeTestCharacter.h"

void addTestAnimation(CharacterData &character, const QString &name,
                      std::initializer_list<int> durations, const QString &returnAnimation,
                      bool loops)
{
    CharacterData::Animation animation;
    animation.name = name;
    animation.returnAnimation = returnAnimation;
    animation.loops = loops;
    for (const int ms : durations) {
        CharacterData::Frame frame;
        frame.durationMs = ms;
        CharacterData::Layer mouth;
        mouth.mouth = true;
        frame.layers << mouth;
        animation.frames << frame;
    }
    character.addAnimation(animation);
}

std::shared_ptr<CharacterData> makeRuntimeTestCharacter()
{
    auto character = std::make_shared<CharacterData>();
    character->name = QStringLiteral("Tester");
    character->guid = QStringLiteral("{11111111-2222-3333-4444-555555555555}");
    character->frameSize = QSize(100, 120);
    addTestAnimation(*character, QStringLiteral("RestPose"), {200});
    addTestAnimation(*character, QStringLiteral("Show"), {100, 100, 100});
    addTestAnimation(*character, QStringLiteral("Hide"), {100, 100});
    addTestAnimation(*character, QStringLiteral("Wave"), {100, 100, 100, 100},
                     QStringLiteral("WaveReturn"));
    addTestAnimation(*character, QStringLiteral("WaveReturn"), {50, 50});
    addTestAnimation(*character, QStringLiteral("Pleased"), {100, 100});
    for (const char *walk : {"MoveLeft", "MoveRight", "MoveUp", "MoveDown"})
        addTestAnimation(*character, QString::fromLatin1(walk), {80, 80, 80}, {}, true);
    addTestAnimation(*character, QStringLiteral("Idle1_1"), {500, 500});
    addTestAnimation(*character, QStringLiteral("Idle2_1"), {500, 500});
    addTestAnimation(*character, QStringLiteral("Idle3_1"), {500, 500});
    character->showAnimation = QStringLiteral("Show");
    character->hideAnimation = QStringLiteral("Hide");
    character->restAnimation = QStringLiteral("RestPose");
    character->idleLevels = {QStringList{QStringLiteral("Idle1_1")},
                             QStringList{QStringLiteral("Idle2_1")},
                             QStringList{QStringLiteral("Idle3_1")}};
    character->moveAnimations = {QStringLiteral("MoveUp"), QStringLiteral("MoveDown"),
                                 QStringLiteral("MoveLeft"), QStringLiteral("MoveRight")};
    return character;
}
