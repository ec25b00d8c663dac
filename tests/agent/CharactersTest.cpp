#include "agent/Characters.h"

#include "RuntimeTestCharacter.h"
#include "agent/AgentCharacter.h"
#include "agent/AgentPropertySheet.h"
#include "agent/AgentSettings.h"
#include "agent/BalloonWindow.h"
#include "agent/CharacterLoader.h"
#include "agent/CharacterRenderer.h"
#include "agent/CharacterRuntime.h"
#include "agent/CharacterWindow.h"
#include "platform/RegistryStore.h"
#include "support/TempHome.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QPointer>
#include <QSet>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString kChars = QStringLiteral(QUILLOMI_BUILD_DATA_DIR "/chars");

QString shipped(const char *file)
{
    return kChars + u'/' + QString::fromLatin1(file);
}

bool waitIdle(AgentCharacter *character)
{
    return QTest::qWaitFor([&] { return !character->runtime().isBusy(); }, 15000);
}

TEST(Characters, LoadsUnderIdsAndFailsAlone)
{
    TempHome home;
    Characters characters;
    EXPECT_FALSE(
            characters.Load(QStringLiteral("Agent0"), home.filePath(QStringLiteral("no.acs"))));
    EXPECT_FALSE(characters.lastError().isEmpty());
    EXPECT_EQ(characters(QStringLiteral("Agent0")), nullptr);

    QFile junk(home.filePath(QStringLiteral("junk.acs")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("MZ not a character at all");
    junk.close();
    EXPECT_FALSE(characters.Load(QStringLiteral("Agent1"), junk.fileName()));

    ASSERT_TRUE(characters.Load(QStringLiteral("Agent0"), shipped("Wobbo_Mini.acs")));
    ASSERT_TRUE(characters.Load(QStringLiteral("Agent2"), shipped("Pico_Fox.acs")));
    AgentCharacter *wobbo = characters(QStringLiteral("agent0")); // ids ignore case
    ASSERT_NE(wobbo, nullptr);
    EXPECT_EQ(wobbo->Name(), QStringLiteral("Wobbo"));
    EXPECT_TRUE(wobbo->GUID().startsWith(u'{'));
    EXPECT_NE(wobbo->GUID(), characters(QStringLiteral("Agent2"))->GUID());
    EXPECT_EQ(wobbo->Width(), 128);
    EXPECT_FALSE(wobbo->Visible());

    characters.Unload(QStringLiteral("Agent0"));
    EXPECT_EQ(characters(QStringLiteral("Agent0")), nullptr);
    EXPECT_EQ(characters.ids(), QStringList{QStringLiteral("Agent2")});
}

TEST(Characters, OneFileIsDecodedOnceAndShared)
{
    TempHome home;
    Characters characters;
    ASSERT_TRUE(characters.Load(QStringLiteral("Agent0"), shipped("Plum_Block.acs")));
    ASSERT_TRUE(characters.Load(QStringLiteral("Agent1"), shipped("Plum_Block.acs")));
    EXPECT_EQ(characters(QStringLiteral("Agent0"))->data().get(),
              characters(QStringLiteral("Agent1"))->data().get());
}

TEST(Characters, HideEventComesOnceTheCharacterIsGoneForEachCharacter)
{
    TempHome home;
    Characters characters;
    QSignalSpy hides(&characters, &Characters::Hide);
    ASSERT_TRUE(characters.Load(QStringLiteral("Agent0"), shipped("Wobbo_Mini.acs")));
    ASSERT_TRUE(characters.Load(QStringLiteral("Agent1"), shipped("Pico_Fox.acs")));
    AgentCharacter *first = characters(QStringLiteral("Agent0"));
    AgentCharacter *second = characters(QStringLiteral("Agent1"));
    first->Show();
    second->Show();
    second->Play(QStringLiteral("Wave"));
    first->Hide();
    second->Hide();
    ASSERT_TRUE(QTest::qWaitFor([&] { return hides.size() == 2; }, 15000));
    EXPECT_EQ(hides[0][0].toString(), QStringLiteral("Agent0"));
    EXPECT_EQ(hides[0][1].toInt(), AgentCharacter::ProgramHid);
    EXPECT_EQ(hides[1][0].toString(), QStringLiteral("Agent1"));
    EXPECT_FALSE(first->Visible());
    EXPECT_FALSE(first->window()->isVisible());

    // Speaking while hidden fails at once; no balloon opens.
    first->Speak(QStringLiteral("Anyone there?"));
    EXPECT_FALSE(first->runtime().isBusy());
    EXPECT_FALSE(first->balloon()->isVisible());
}

// A program that unloads a character from its Hide event, while a Show and a Speak are
// still queued behind: the character leaves for good, silently, and goes once the event
// is over.
TEST(Characters, UnloadFromTheCharactersOwnHideEvent)
{
    TempHome home;
    Characters characters;
    ASSERT_TRUE(characters.Load(QStringLiteral("Agent0"), shipped("Wobbo_Mini.acs")));
    QPointer<AgentCharacter> wobbo = characters(QStringLiteral("Agent0"));
    QPointer<CharacterWindow> window = wobbo->window();
    QObject::connect(&characters, &Characters::Hide, &characters,
                     [&](const QString &id) { characters.Unload(id); });
    wobbo->Show();
    wobbo->Hide();
    wobbo->Show();
    wobbo->Speak(QStringLiteral("Still here?"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return wobbo.isNull(); }, 15000));
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(characters.ids().isEmpty());
}

TEST(Characters, SpeakOpensTheBalloonAndThinkUsesTheCloud)
{
    TempHome home;
    Characters characters;
    ASSERT_TRUE(characters.Load(QStringLiteral("Agent0"), shipped("Wobbo_Mini.acs")));
    AgentCharacter *wobbo = characters(QStringLiteral("Agent0"));
    wobbo->setIdleOn(false);
    wobbo->Show();
    bool visibleAtEnd = false;
    QObject::connect(&wobbo->runtime(), &CharacterRuntime::requestCompleted, wobbo,
                     [&] { visibleAtEnd = wobbo->balloon()->isVisible(); });
    wobbo->Speak(QStringLiteral("\\Vol=58500\\Hi I'm Wobbo \\pau=300\\ How are you doing Ann ?"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return wobbo->balloon()->isVisible(); }, 10000));
    EXPECT_EQ(wobbo->balloon()->text(), QStringLiteral("Hi I'm Wobbo  How are you doing Ann ?"));
    EXPECT_FALSE(wobbo->balloon()->isThought());
    ASSERT_TRUE(waitIdle(wobbo));
    EXPECT_EQ(wobbo->balloon()->revealed(), wobbo->balloon()->text().size());
    // It lingers after the words are out (checked as they end, however slow the machine),
    // then goes.
    EXPECT_TRUE(visibleAtEnd);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !wobbo->balloon()->isVisible(); }, 5000));

    wobbo->Think(QStringLiteral("Hmm."));
    EXPECT_TRUE(wobbo->balloon()->isThought());
    EXPECT_TRUE(wobbo->balloon()->isVisible());
    wobbo->StopAll();
    EXPECT_FALSE(wobbo->balloon()->isVisible());
}

TEST(Characters, VoiceNamesOutsideTheTableKeepTheCharactersOwnVoice)
{
    TempHome home;
    Characters characters;
    ASSERT_TRUE(characters.Load(QStringLiteral("Agent0"), shipped("Wobbo_Mini.acs")));
    AgentCharacter *wobbo = characters(QStringLiteral("Agent0"));
    const QString own = wobbo->TTSModeID();
    EXPECT_FALSE(own.isEmpty());
    wobbo->setTTSModeID(QStringLiteral("{CA141FD0-AC7F-11D1-97A3-006008273001}"));
    EXPECT_EQ(wobbo->TTSModeID(), QStringLiteral("{CA141FD0-AC7F-11D1-97A3-006008273001}"));
    wobbo->setTTSModeID(QStringLiteral("{not a voice}"));
    EXPECT_EQ(wobbo->TTSModeID(), QStringLiteral("{CA141FD0-AC7F-11D1-97A3-006008273001}"));
    wobbo->setTTSModeID(own);
    EXPECT_EQ(wobbo->TTSModeID(), own);
}

// Idling replays the same frames for hours: each look is drawn once, and a frame that looks
// like the one on screen costs nothing.
TEST(CharacterWindow, DrawsEachLookOnce)
{
    const auto data = CharacterLoader::load(shipped("Wobbo_Mini.acs")).character;
    ASSERT_NE(data, nullptr);
    CharacterWindow window{CharacterRenderer(data)};
    QSet<int> looks;
    for (const char *name : {"RestPose", "Idle1_1", "Blink", "Idle1_1", "RestPose"}) {
        for (const CharacterData::Frame &frame : data->animation(QLatin1String(name))->frames) {
            window.showFrame(&frame, std::nullopt);
            looks.insert(frame.look);
        }
    }
    EXPECT_EQ(window.renderedCount(), looks.size());
    EXPECT_LT(looks.size(), data->lookCount());

    // A mouth shape is a look of its own only on a frame with a mouth slot.
    const CharacterData::Frame &rest = data->animation(data->restAnimation)->frames.first();
    ASSERT_TRUE(rest.canSpeak());
    const int before = window.renderedCount();
    window.showFrame(&rest, MouthShape::Wide2);
    window.showFrame(&rest, MouthShape::Wide2);
    EXPECT_EQ(window.renderedCount(), before + 1);
    EXPECT_FALSE(window.currentMask().isNull());
}

QStringList g_logged;

void collect(QtMsgType, const QMessageLogContext &context, const QString &message)
{
    if (QByteArrayView(context.category) == "quillomi.agent")
        g_logged << message;
}

TEST(Characters, LogsEachRequestAndEventOnOneLineWhenAsked)
{
    TempHome home;
    g_logged.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collect);
    {
        Characters characters;
        ASSERT_TRUE(characters.Load(QStringLiteral("Agent0"), shipped("Wobbo_Mini.acs")));
        characters(QStringLiteral("Agent0"))->Hide();
    }
    EXPECT_TRUE(g_logged.isEmpty()); // off by default

    QLoggingCategory::setFilterRules(QStringLiteral("quillomi.agent.info=true"));
    {
        Characters characters;
        QSignalSpy hides(&characters, &Characters::Hide);
        ASSERT_TRUE(characters.Load(QStringLiteral("Agent0"), shipped("Wobbo_Mini.acs")));
        AgentCharacter *wobbo = characters(QStringLiteral("Agent0"));
        wobbo->Show();
        for (int state : {1, 1, 1, 2, 2, 1})
            wobbo->Activate(state);
        wobbo->Play(QStringLiteral("NoSuchThing"));
        wobbo->Hide();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !hides.isEmpty(); }, 10000));
    }
    QLoggingCategory::setFilterRules(QString());
    qInstallMessageHandler(previous);
    const QString all = g_logged.join(u'\n');
    for (const char *expected :
         {"Agent0 request 1 Show", "Agent0 request 2 Play NoSuchThing", "Agent0 request 2 failed",
          "Agent0 request 3 Hide", "event Hide Agent0 3"})
        EXPECT_TRUE(all.contains(QString::fromLatin1(expected))) << expected << "\n"
                                                                 << all.toStdString();
    for (const QString &line : std::as_const(g_logged))
        EXPECT_FALSE(line.contains(u'\n'));
    // Activating again and again logs the changes only.
    EXPECT_EQ(g_logged.filter(QStringLiteral("Activate")),
              QStringList({QStringLiteral("Agent0 Activate 1"), QStringLiteral("Agent0 Activate 2"),
                           QStringLiteral("Agent0 Activate 1")}));
}

TEST(AgentSettings, HonoursTheFirstRunValuesAndFallsBackOnBadOnes)
{
    TempHome home;
    RegistryStore &store = RegistryStore::global();
    const QString key = QString::fromLatin1(AgentSettings::Key);
    ASSERT_TRUE(store.createKey(key));
    ASSERT_TRUE(store.setValue(key, RegValue::number(QStringLiteral("UseCharacterFont"), 0)));
    ASSERT_TRUE(store.setValue(key, RegValue::number(QStringLiteral("SpeakingSpeed"), 6)));
    ASSERT_TRUE(store.setValue(
            key, RegValue::string(QStringLiteral("SpeechOutput"), QStringLiteral("yes"))));
    AgentSettings settings = AgentSettings::load(store);
    EXPECT_FALSE(settings.useCharacterFont);
    EXPECT_EQ(settings.speakingSpeed, 6);
    EXPECT_TRUE(settings.speechOutput); // unreadable: the default

    ASSERT_TRUE(store.setValue(key, RegValue::number(QStringLiteral("SpeakingSpeed"), 99)));
    EXPECT_EQ(AgentSettings::load(store).speakingSpeed, AgentSettings::NormalSpeed);

    settings.speechOutput = false;
    settings.defaultCharacter = QStringLiteral("Pico_Fox.acs");
    ASSERT_TRUE(settings.save(store));
    const AgentSettings again = AgentSettings::load(store);
    EXPECT_FALSE(again.speechOutput);
    EXPECT_EQ(again.defaultCharacter, QStringLiteral("Pico_Fox.acs"));
    // The normal speed keeps the voice's own rate; the ends stay in espeak-ng's range.
    EXPECT_EQ(AgentSettings::wordsPerMinute(170, AgentSettings::NormalSpeed), 170);
    EXPECT_LT(AgentSettings::wordsPerMinute(170, 1), 170);
    EXPECT_LE(AgentSettings::wordsPerMinute(400, 7), 450);
}

TEST(AgentPropertySheet, AcceptingStoresAndANewDefaultRaisesTheEvent)
{
    TempHome home;
    Characters characters;
    characters.setCharactersFolder(kChars);
    QSignalSpy changes(&characters, &Characters::DefaultCharacterChange);
    AgentPropertySheet &sheet = characters.PropertySheet();
    sheet.setVisible(true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet));
    auto *speech = sheet.findChild<QCheckBox *>(QStringLiteral("speechOutput"));
    auto *speed = sheet.findChild<QSlider *>(QStringLiteral("speakingSpeed"));
    auto *defaultCharacter = sheet.findChild<QComboBox *>(QStringLiteral("defaultCharacter"));
    ASSERT_TRUE(speech && speed && defaultCharacter);
    EXPECT_GE(defaultCharacter->count(), 3);
    speech->setChecked(false);
    speed->setValue(2);
    defaultCharacter->setCurrentText(QStringLiteral("Pico_Fox.acs"));
    emit sheet.settingsAccepted(sheet.settings());

    ASSERT_EQ(changes.size(), 1);
    ASSERT_TRUE(characters.Load(QStringLiteral("Agent0"), shipped("Pico_Fox.acs")));
    EXPECT_EQ(changes[0][0].toString(), characters(QStringLiteral("Agent0"))->GUID());
    const AgentSettings stored = AgentSettings::load(RegistryStore::global());
    EXPECT_FALSE(stored.speechOutput);
    EXPECT_EQ(stored.speakingSpeed, 2);

    // Saving the same default again raises nothing.
    characters.applySettings(stored);
    EXPECT_EQ(changes.size(), 1);
}

} // namespace
