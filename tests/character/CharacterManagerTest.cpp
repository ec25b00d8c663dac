#include "character/CharacterManager.h"

#include "agent/AgentCharacter.h"
#include "agent/CharacterRuntime.h"
#include "agent/Characters.h"
#include "base/AppPaths.h"
#include "settings/AppState.h"
#include "settings/OptionKeys.h"
#include "settings/SettingsHooks.h"
#include "settings/SettingsRoutines.h"
#include "settings/SettingsStore.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString Wobbo = QStringLiteral("Wobbo_Mini.acs");
const QString Pico = QStringLiteral("Pico_Fox.acs");
const QString Plum = QStringLiteral("Plum_Block.acs");

// The shipped characters on the real component, in a home of their own.
class CharacterManagerTest : public ::testing::Test
{
protected:
    CharacterManagerTest()
    {
        AppPaths::seedProgramFolder();
        ReadCharsDir();
    }

    TempHome home;
    SettingsHooks hooks;
    Characters control;
    CharacterManager characters{control, hooks};
};

TEST_F(CharacterManagerTest, startUpLoadsTheChosenCharacterAsAgent0AndStoresIt)
{
    SettingsStore store;
    OptionKeys::save(store, OptionKeys::Char, Pico);
    bool settingsLoaded = false;
    hooks.loadReminders = [&] {
        settingsLoaded = true;
    };

    ASSERT_TRUE(characters.LoadCharacter(true, {}));

    EXPECT_EQ(characters.CharIds(), QStringList{QStringLiteral("Agent0")});
    EXPECT_EQ(characters.CurrentCharId(), QStringLiteral("Agent0"));
    EXPECT_EQ(characters.ExtraCharCount(), 0);
    ASSERT_NE(characters.CurrentChar(), nullptr);
    EXPECT_EQ(characters.CurrentChar()->Name(), QStringLiteral("::: Quillomi :::"));
    EXPECT_FALSE(characters.CurrentChar()->SoundEffectsOn());
    EXPECT_EQ(characters.CurrentChar()->LanguageID(), 1033);
    EXPECT_TRUE(settingsLoaded);
    EXPECT_EQ(appState().CharFile, Pico);
    EXPECT_EQ(OptionKeys::read(OptionKeys::Char, store), Pico);
}

// A stored character that cannot be loaded (deleted, or named by a store from Windows)
// never leaves the user without a character, a menu and a way to quit.
TEST_F(CharacterManagerTest, aFileThatCannotBeLoadedGivesWayToOneThatLoads)
{
    SettingsStore store;
    OptionKeys::save(store, OptionKeys::Char, QStringLiteral("Genie.acs"));
    EXPECT_FALSE(characters.LoadCharacter(true, {}));
    ASSERT_NE(characters.CurrentChar(), nullptr);
    EXPECT_EQ(appState().CharFile, Wobbo) << "the shipped default first";
    EXPECT_EQ(OptionKeys::read(OptionKeys::Char, store), Wobbo);

    // A change to a file that fails keeps the character shown before.
    ASSERT_TRUE(characters.LoadCharacter(false, Plum));
    EXPECT_FALSE(characters.LoadCharacter(false, QStringLiteral("Missing.acs")));
    EXPECT_EQ(appState().CharFile, Plum);
    ASSERT_NE(characters.CurrentChar(), nullptr);

    // No default either: the first file that loads, past one that is not a character.
    QFile::remove(QDir(appState().CharsDir).filePath(Wobbo));
    QFile junk(QDir(appState().CharsDir).filePath(QStringLiteral("Aaa.acs")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a character");
    junk.close();
    OptionKeys::save(store, OptionKeys::Char, QStringLiteral("Genie.acs"));
    EXPECT_FALSE(characters.LoadCharacter(true, {}));
    ASSERT_NE(characters.CurrentChar(), nullptr);
    EXPECT_EQ(appState().CharFile, Pico);
    EXPECT_EQ(OptionKeys::read(OptionKeys::Char, store), Pico);
}

TEST_F(CharacterManagerTest, aSecondCopyLeavesTheStoredChoiceAlone)
{
    SettingsStore store;
    OptionKeys::save(store, OptionKeys::Char, Plum);
    characters.setStoresChoice(false);
    ASSERT_TRUE(characters.LoadCharacter(false, Wobbo));
    EXPECT_EQ(OptionKeys::read(OptionKeys::Char, store), Plum);
}

TEST_F(CharacterManagerTest, extraCharactersAreNeverShownTwiceAndTakeTheNextFreeId)
{
    ASSERT_TRUE(characters.LoadCharacter(true, {})); // Wobbo, the default
    EXPECT_FALSE(characters.RemoveCharacter(QStringLiteral("Agent0")));

    EXPECT_FALSE(characters.AddCharacter(Wobbo));
    EXPECT_EQ(characters.ExtraCharCount(), 0);
    EXPECT_EQ(control.ids().size(), 1);

    ASSERT_TRUE(characters.AddCharacter(Pico));
    ASSERT_TRUE(characters.AddCharacter(Plum));
    EXPECT_EQ(characters.CharIds(), (QStringList{QStringLiteral("Agent0"), QStringLiteral("Agent1"),
                                                 QStringLiteral("Agent2")}));
    EXPECT_EQ(characters.CurrentCharId(), QStringLiteral("Agent0"));

    // With Agent1 gone the search starts at 2, which is taken: the new one is Agent3.
    ASSERT_TRUE(characters.RemoveCharacter(QStringLiteral("Agent1")));
    EXPECT_EQ(control.Character(QStringLiteral("Agent1")), nullptr);
    ASSERT_TRUE(characters.AddCharacter(Pico));
    EXPECT_EQ(characters.CharIds().last(), QStringLiteral("Agent3"));
    EXPECT_EQ(characters.count(), 3);
}

TEST_F(CharacterManagerTest, removingTheCurrentCharacterMakesTheFirstRemainingOneCurrent)
{
    ASSERT_TRUE(characters.LoadCharacter(true, {}));
    ASSERT_TRUE(characters.AddCharacter(Pico));
    ASSERT_TRUE(characters.select(QStringLiteral("agent1")));
    EXPECT_EQ(characters.CurrentChar(), control.Character(QStringLiteral("Agent1")));
    ASSERT_TRUE(characters.RemoveCharacter(characters.CurrentCharId()));
    EXPECT_EQ(characters.CurrentCharId(), QStringLiteral("Agent0"));
    EXPECT_FALSE(characters.select(QStringLiteral("Agent1")));
}

TEST_F(CharacterManagerTest, voicesByNameAndTheCharactersOwnVoiceForAnyOther)
{
    ASSERT_TRUE(characters.LoadCharacter(true, {}));
    AgentCharacter *character = characters.CurrentChar();
    const QString own = character->TTSModeID();

    characters.SetVoice(QStringLiteral("Adult Male #1, US English"), false);
    EXPECT_EQ(character->TTSModeID(), QStringLiteral("{CA141FD0-AC7F-11D1-97A3-006008273000}"));
    characters.SetVoice(QStringLiteral("adult male #1, us english"), false); // exact names only
    EXPECT_EQ(character->TTSModeID(), own);
    characters.SetVoice(QStringLiteral("Adult Female #2, US English"), false);
    characters.SetVoice(QStringLiteral("Default"), false);
    EXPECT_EQ(character->TTSModeID(), own);
}

TEST(CharacterManagerText, theVolumeTagComesFirst)
{
    EXPECT_EQ(CharacterManager::withVolume(QStringLiteral("Hi"), 58500),
              QStringLiteral("\\Vol=58500\\Hi"));
}

// OK on a pop-up: what is left of that reminder's speech is not said, whether it is being
// said or still waits behind another.
TEST_F(CharacterManagerTest, aDismissedReminderIsNotSaidOn)
{
    ASSERT_TRUE(characters.LoadCharacter(true, {}));
    CharacterRuntime &runtime = characters.CurrentChar()->runtime();
    QStringList said;
    QObject::connect(&runtime, &CharacterRuntime::requestStarted, &runtime,
                     [&](quint64, CharacterRuntime::RequestKind kind, const QString &text) {
                         if (kind == CharacterRuntime::RequestKind::Speak)
                             said << text;
                     });
    characters.speakReminder(QStringLiteral("i1"), QStringLiteral("Brew the tea. ").repeated(300));
    characters.speakReminder(QStringLiteral("i2"), QStringLiteral("Call Ann"));
    characters.stopReminder(QStringLiteral("i2"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !said.isEmpty(); }, 10000));
    characters.stopReminder(QStringLiteral("i1")); // minutes of speech left
    EXPECT_TRUE(QTest::qWaitFor([&] { return !runtime.isBusy(); }, 10000));
    ASSERT_EQ(said.size(), 1);
    EXPECT_TRUE(said.constFirst().contains(QStringLiteral("Brew the tea")));
}

} // namespace
