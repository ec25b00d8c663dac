#include "settings/SettingsRoutines.h"

#include "base/AppPaths.h"
#include "base/AppTitle.h"
#include "base/Language.h"
#include "base/SpecialFolders.h"
#include "platform/RegistryStore.h"
#include "settings/AppState.h"
#include "settings/OptionValues.h"
#include "settings/SettingsHooks.h"
#include "settings/SettingsStore.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

class SettingsRoutinesTest : public ::testing::Test
{
protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }
    static void reset()
    {
        optionValues() = {};
        appState() = {};
    }

    QString stored(const QString &section, const QString &key)
    {
        return m_store.get(SettingsStore::AppName, section, key);
    }
    void store(const QString &key, const QString &value)
    {
        m_store.save(SettingsStore::AppName, "Setting", key, value);
    }
    QStringList keys(const QString &section)
    {
        QStringList names;
        for (const auto &[key, value] : m_store.all(SettingsStore::AppName, section))
            names << key;
        return names;
    }

    TempHome m_home;
    SettingsStore m_store;
    SettingsHooks hooks;
    QStringList m_calls;
};

TEST_F(SettingsRoutinesTest, LoadRunsTheStepsInOrderAndReadsEveryOption)
{
    const QList<QPair<QString, QString>> texts{{"User", "Ada"},
                                               {"Location", "France.loc"},
                                               {"Voice", "Adult Male #2, US English"},
                                               {"Stay", "12"},
                                               {"Move", "1"},
                                               {"Follow", "5"},
                                               {"Hide", "6"},
                                               {"Idle", "7"},
                                               {"Vol", "32500.5"},
                                               {"MoveScr", "90"},
                                               {"Quit", "1"},
                                               {"CharRot", "0"},
                                               {"SearchEngine", "3"},
                                               {"CharPos", "4"}};
    for (const auto &[key, value] : texts)
        store(key, value);
    hooks.loadReminders = [&] {
        m_calls << "reminders";
    };
    hooks.askUserName = [&](const QString &) {
        return m_calls << "ask", QString("x");
    };
    hooks.prepareCharacter = [&] {
        m_calls << "character:" + appState().UserName;
    };
    hooks.setVoice = [&](const QString &voice) {
        m_calls << "voice:" + voice;
    };
    hooks.optionsLoaded = [&] {
        m_calls << QStringLiteral("options:stay %1").arg(optionValues().Stay);
    };

    LoadSettings(hooks);

    EXPECT_EQ(m_calls, (QStringList{"reminders", "character:Ada", "voice:Adult Male #2, US English",
                                    "options:stay 12"}));
    OptionValues expected;
    expected.Location = "France.loc";
    expected.Voice = "Adult Male #2, US English";
    expected.Stay = 12;
    expected.Move = 1;
    expected.Follow = 5;
    expected.Hide = 6;
    expected.Idle = 7;
    expected.Vol = 32500; // a half rounds to the even neighbour
    expected.MoveScr = 90;
    expected.Quit = 1;
    expected.CharRot = false;
    expected.SearchEngine = 3;
    expected.CharPos = 4;
    EXPECT_TRUE(optionValues() == expected);

    // A second load from an empty store brings every default back.
    m_store.deleteApplication(SettingsStore::AppName);
    LoadSettings(hooks);
    EXPECT_TRUE(optionValues() == OptionValues{});
}

TEST_F(SettingsRoutinesTest, AsksForTheNameUntilOneIsGiven)
{
    store("User", "   ");
    QString proposed;
    QString answer;
    hooks.askUserName = [&](const QString &p) {
        proposed = p;
        m_calls << "ask";
        return answer;
    };
    LoadSettings(hooks); // answered with nothing: kept, and asked again next time
    EXPECT_EQ(proposed, GetFullName());
    EXPECT_EQ(stored("Setting", "User"), "");
    answer = "Grace";
    LoadSettings(hooks);
    EXPECT_EQ(appState().UserName, "Grace");
    EXPECT_EQ(stored("Setting", "User"), "Grace");
    LoadSettings(hooks);
    EXPECT_EQ(m_calls, (QStringList{"ask", "ask"}));
}

// The name question offers a person's name, never an account name such as "root".
TEST(FullNameTest, TakesTheAccountsNameOnlyWhenItIsOne)
{
    EXPECT_EQ(FullNameFromAccount("Ada Lovelace,,,", "ada"), "Ada Lovelace");
    EXPECT_EQ(FullNameFromAccount("Grace Hopper,Room 1,555-0100", "grace"), "Grace Hopper");
    EXPECT_EQ(FullNameFromAccount("root", "root"), "");
    EXPECT_EQ(FullNameFromAccount("Root", "root"), "");
    EXPECT_EQ(FullNameFromAccount(" ,,,", "linus"), "");
    EXPECT_EQ(FullNameFromAccount("", "linus"), "");
}

TEST_F(SettingsRoutinesTest, AFailingStepDoesNotStopTheOthers)
{
    store("Stay", "44");
    hooks.loadReminders = [] {
        throw std::runtime_error("damaged reminders");
    };
    hooks.prepareCharacter = [] {
        throw 42;
    };
    hooks.setVoice = [&](const QString &) {
        m_calls << "voice";
    };
    hooks.saveReminders = [] {
        throw std::runtime_error("disk full");
    };
    LoadSettings(hooks);
    EXPECT_EQ(optionValues().Stay, 44);
    EXPECT_EQ(m_calls, QStringList{"voice"});
    optionValues().Stay = 55;
    SaveSettings(hooks);
    EXPECT_EQ(stored("Setting", "Stay"), "55");
}

TEST_F(SettingsRoutinesTest, SaveWritesEveryOptionAndLoadReadsThemBack)
{
    LoadSettings(hooks);
    hooks.saveReminders = [&] {
        m_calls << "reminders";
    };
    appState().UserName = "Linus";
    appState().LangChosen = "Deutsch.lang";
    OptionValues &v = optionValues();
    v.Location = "Germany.loc";
    v.Voice = "Adult Female #1, US English";
    v.Stay = 99;
    v.Move = 1;
    v.Follow = 8;
    v.Hide = 9;
    v.Idle = 10;
    v.Vol = 65000;
    v.MoveScr = 120;
    v.Quit = 1;
    v.CharRot = false;
    v.SearchEngine = 6;
    v.CharPos = 2;
    v.AutoBackupDir = ""; // backups off, which must last past the next load
    const OptionValues saved = v;

    SaveSettings(hooks);
    EXPECT_EQ(m_calls, QStringList{"reminders"});
    EXPECT_EQ(stored("Setting", "Lang"), "Deutsch.lang");
    EXPECT_EQ(keys("Setting"),
              (QStringList{"User", "Lang", "Location", "Voice", "Stay", "Move", "Follow", "Hide",
                           "Idle", "Vol", "MoveScr", "Quit", "CharRot", "CharPos", "SearchEngine",
                           "AutoBackupDir"}));

    reset();
    LoadSettings(hooks);
    EXPECT_EQ(appState().UserName, "Linus");
    EXPECT_TRUE(optionValues() == saved);
}

TEST_F(SettingsRoutinesTest, RotationPicksEveryCharacterInTimeAndOffKeepsTheChoice)
{
    appState().CharsDir = m_home.filePath("chars");
    QDir().mkpath(appState().CharsDir);
    const QStringList characters{"Ann.acs", "Bob.acs", "Cid.acs"};
    for (const QString &name : characters + QStringList{"notes.txt"})
        QFile(AppPaths::join(appState().CharsDir, name)).open(QIODevice::WriteOnly);
    LoadSettings(hooks);
    QSet<QString> picked;
    for (int i = 0; i < 60; ++i) {
        SaveSettings(hooks);
        picked.insert(stored("Setting", "Char"));
    }
    EXPECT_EQ(picked, QSet<QString>(characters.begin(), characters.end()));

    store("Char", "Bob.acs");
    optionValues().CharRot = false;
    for (int i = 0; i < 10; ++i)
        SaveSettings(hooks);
    EXPECT_EQ(stored("Setting", "Char"), "Bob.acs");

    // The menu's list, when plugged in, is what the pick draws from; an empty one picks none.
    optionValues().CharRot = true;
    hooks.characterFiles = [] {
        return QStringList{"Only.acs"};
    };
    SaveSettings(hooks);
    EXPECT_EQ(stored("Setting", "Char"), "Only.acs");
    hooks.characterFiles = [] {
        return QStringList{};
    };
    SaveSettings(hooks);
    EXPECT_EQ(stored("Setting", "Char"), "Only.acs");
}

// A save before the options were ever read (the session ends during the name question)
// must not write the defaults over the user's options or pick another character.
TEST_F(SettingsRoutinesTest, SaveBeforeLoadLeavesTheStoredOptionsAlone)
{
    store("Stay", "12");
    store("CharRot", "1");
    store("Char", "Bob.acs");
    SaveSettings(hooks);
    EXPECT_EQ(stored("Setting", "Stay"), "12");
    EXPECT_EQ(stored("Setting", "Char"), "Bob.acs");
    EXPECT_EQ(keys("Setting"), (QStringList{"Stay", "CharRot", "Char"}));
}

TEST_F(SettingsRoutinesTest, FirstRunClearsTheStoreAndWritesTheDefaultsInOrder)
{
    store("LastAutoBackup", "2026-12-06");
    m_store.save(SettingsStore::AppName, "Alarm", "1", "left over");
    m_store.save(SettingsStore::SharedAppName, "Chars", "CharsDir", "/shared");

    ASSERT_TRUE(WriteFirstRunDefaults());
    EXPECT_TRUE(appState().FirstRun);
    EXPECT_EQ(m_store.all(SettingsStore::AppName, "Setting"),
              (SettingsStore::Entries{{"StRun", "No"}}));
    EXPECT_TRUE(keys("Alarm").isEmpty());
    EXPECT_EQ(m_store.get(SettingsStore::SharedAppName, "Chars", "CharsDir"), "/shared");

    QStringList programs;
    for (const auto &[key, value] : m_store.all(SettingsStore::AppName, "Pro")) {
        programs << key + "=" + value.section(u',', 0, 0);
        EXPECT_FALSE(value.section(u',', 1).isEmpty()) << key.toStdString();
    }
    EXPECT_EQ(programs, (QStringList{"Pro0=Web Browser", "Pro1=Spreadsheet", "Pro2=Word Processor",
                                     "Pro3=Mail", "Pro4=Calendar", "Pro5=Calculator",
                                     "Pro6=Text Editor", "Pro7=Terminal"}));
    EXPECT_EQ(stored("Pro", "Pro0"), "Web Browser,*.html");
    EXPECT_EQ(keys("Dir"), (QStringList{"Dir0", "Dir1", "Dir2", "Dir3", "Dir4"}));
    EXPECT_EQ(stored("Dir", "Dir0"), "Computer,computer:///");
    EXPECT_EQ(stored("Dir", "Dir2"),
              "Documents," + GetSpecialFolder(nullptr, SpecialFolder::Documents));
    EXPECT_EQ(stored("Dir", "Dir4"),
              "Pictures," + GetSpecialFolder(nullptr, SpecialFolder::Pictures));

    RegistryStore &registry = m_store.registry();
    const auto run = registry.value(RunKeyPath(), AppTitle());
    ASSERT_TRUE(run.has_value());
    EXPECT_EQ(run->toText(), GetExePath());
    ASSERT_TRUE(registry.value(AgentKeyPath(), "SpeakingSpeed").has_value());
    EXPECT_EQ(registry.value(AgentKeyPath(), "UseCharacterFont")->dword, 1u);
    EXPECT_EQ(registry.value(AgentKeyPath(), "SpeakingSpeed")->dword, 4u);
}

TEST_F(SettingsRoutinesTest, FirstRunDefaultsAreWrittenOnce)
{
    ASSERT_TRUE(WriteFirstRunDefaults());
    appState().FirstRun = false;
    m_store.save(SettingsStore::AppName, "Pro", "Pro0", "Mine,/usr/bin/mine");
    EXPECT_FALSE(WriteFirstRunDefaults());
    EXPECT_FALSE(appState().FirstRun);
    EXPECT_EQ(stored("Pro", "Pro0"), "Mine,/usr/bin/mine");

    store("StRun", ""); // an empty marker counts as never run
    EXPECT_TRUE(WriteFirstRunDefaults());
    EXPECT_EQ(stored("Pro", "Pro0"), "Web Browser,*.html");
}

TEST_F(SettingsRoutinesTest, StartUpReadsTheCharactersFolderAndTheLanguage)
{
    ReadCharsDir();
    EXPECT_EQ(appState().CharsDir, AppPaths::defaultCharsFolder());
    const QString shared = m_home.filePath("shared-chars");
    QDir().mkpath(shared);
    m_store.save(SettingsStore::SharedAppName, "Chars", "CharsDir", shared);
    ReadCharsDir();
    EXPECT_EQ(appState().CharsDir, shared);
    m_store.save(SettingsStore::SharedAppName, "Chars", "CharsDir", "C:\\Program Files\\chars");
    ReadCharsDir();
    EXPECT_EQ(appState().CharsDir, AppPaths::defaultCharsFolder());

    QFile file(AppPaths::join(AppPaths::programFolder(), "Pirate.lang"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Alarm]\nAhoy\n");
    file.close();
    store("Lang", "Pirate.lang");
    ReadLanguage();
    EXPECT_EQ(appState().LangInForce, "Pirate.lang");
    EXPECT_EQ(appState().LangChosen, "Pirate.lang");
    EXPECT_EQ(GetLangText("[Alarm]", 0), "Ahoy");
}

} // namespace
