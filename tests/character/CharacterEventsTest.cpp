#include "character/CharacterEvents.h"

#include "agent/Characters.h"
#include "base/AppPaths.h"
#include "character/BehaviourTimers.h"
#include "character/CharacterManager.h"
#include "character/CharacterMenu.h"
#include "character/PhraseBook.h"
#include "character/QuitSequence.h"
#include "character/WebTextSpeaker.h"
#include "settings/AppState.h"
#include "settings/SettingsHooks.h"
#include "settings/SettingsRoutines.h"
#include "support/FixedClock.h"
#include "support/TempHome.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

class RecordingMenu final : public CharacterMenu
{
public:
    void UpadateMnu() override { log << QStringLiteral("update"); }
    void RefreshMenuLists() override { log << QStringLiteral("refresh"); }
    void popup(const QPoint &) override { log << QStringLiteral("popup"); }
    QStringList log;
};

struct ClickRow
{
    const char *name;
    int button;
    int secondsSinceLastAction;
    QStringList menu;
};

class CharacterEventsTest : public ::testing::TestWithParam<ClickRow>
{
protected:
    CharacterEventsTest()
    {
        appState().LastActionTime = clock.now();
        QuitSequence::Steps steps;
        steps.saveSettings = [this] {
            quitLog << QStringLiteral("save");
        };
        steps.hideCharacters = [this] {
            quitLog << QStringLiteral("hide");
        };
        steps.characterCount = [this] {
            return characters.count();
        };
        steps.endProgram = [this] {
            quitLog << QStringLiteral("end");
        };
        quit = std::make_unique<QuitSequence>(steps);
        events = std::make_unique<CharacterEvents>(
                CharacterEvents::Parts{characters, phrases, timers, menu, *quit, web});
    }

    TempHome home;
    FixedClock clock{QDateTime(QDate(2026, 12, 6), QTime(10, 0))};
    SettingsHooks hooks;
    Characters control;
    CharacterManager characters{control, hooks};
    PhraseBook phrases{characters};
    BehaviourTimers timers;
    RecordingMenu menu;
    WebTextSpeaker web{characters};
    QStringList quitLog;
    std::unique_ptr<QuitSequence> quit;
    std::unique_ptr<CharacterEvents> events;
};

TEST_P(CharacterEventsTest, rightClickOpensTheMenuOnlyAfterAQuietSpell)
{
    const ClickRow &row = GetParam();
    clock.advanceSeconds(row.secondsSinceLastAction);
    events->Click(QStringLiteral("Agent0"), row.button, 0, 10, 10);
    EXPECT_EQ(menu.log, row.menu);
}

const QStringList Updated{QStringLiteral("update"), QStringLiteral("refresh")};
const QStringList Opened = Updated + QStringList{QStringLiteral("popup")};

INSTANTIATE_TEST_SUITE_P(Clicks, CharacterEventsTest,
                         ::testing::Values(ClickRow{"rightAfterTwoSeconds", 2, 2, Updated},
                                           ClickRow{"rightAfterThreeSeconds", 2, 3, Opened},
                                           ClickRow{"trayRightAfterThreeSeconds", 4098, 3, Opened},
                                           ClickRow{"trayLeft", 4097, 10, {}},
                                           ClickRow{"middle", 3, 10, {}},
                                           ClickRow{"left", 1, 10, {}}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(CharacterEventsTest, whileQuittingOnlyHideCounts)
{
    AppPaths::seedProgramFolder();
    ReadCharsDir();
    ASSERT_TRUE(characters.LoadCharacter(true, {}));
    quit->quit();
    EXPECT_EQ(quitLog, (QStringList{QStringLiteral("save"), QStringLiteral("hide")}));
    clock.advanceSeconds(10);
    events->Click(QStringLiteral("Agent0"), 2, 0, 10, 10);
    events->Command(QStringLiteral("Quit"));
    EXPECT_TRUE(menu.log.isEmpty());
    EXPECT_EQ(quitLog.size(), 2);
    events->Hide(QStringLiteral("Agent0"), 3);
    EXPECT_EQ(quitLog.last(), QStringLiteral("end"));
}

TEST_F(CharacterEventsTest, theComponentsQuitCommandRunsTheQuitSequence)
{
    events->Command(QStringLiteral("Quit"));
    EXPECT_TRUE(quit->Quitting());
}

} // namespace
