#include "character/QuitSequence.h"

#include <QElapsedTimer>
#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

class QuitSequenceTest : public ::testing::Test
{
protected:
    std::function<void()> logs(const char *step)
    {
        return [this, step] {
            log << QLatin1String(step);
        };
    }
    QuitSequence::Steps steps()
    {
        QuitSequence::Steps s;
        s.askShutDown = [this]() -> std::optional<int> {
            log << "ask";
            if (duringDialog)
                duringDialog();
            return dialogAnswer;
        };
        s.saveSettings = logs("save");
        s.closeWindows = logs("close");
        s.readyCharacter = logs("ready");
        s.stopTimers = logs("timers");
        s.sayGoodbye = logs("goodbye");
        s.hideCharacters = logs("hide");
        s.characterCount = [this] {
            return characters;
        };
        s.exitAction = [this](int action) {
            log << QStringLiteral("exit:%1").arg(action);
        };
        s.endProgram = logs("end");
        return s;
    }

    QStringList log;
    std::optional<int> dialogAnswer = 0;
    std::function<void()> duringDialog;
    int characters = 1;
};

const QStringList Sequence = {"save", "close", "ready", "timers", "goodbye", "hide"};

TEST_F(QuitSequenceTest, savesSaysGoodbyeAndEndsWhenTheCharacterHid)
{
    QuitSequence quit(steps());
    quit.quit();
    EXPECT_EQ(log, Sequence);
    EXPECT_TRUE(quit.Quitting());
    quit.hideEvent();
    EXPECT_EQ(log, Sequence + QStringList{"end"});
    EXPECT_EQ(quit.state(), QuitSequence::State::Ended);
}

TEST_F(QuitSequenceTest, waitsForEveryCharacter)
{
    characters = 3;
    QuitSequence quit(steps());
    quit.quit();
    quit.hideEvent();
    quit.hideEvent();
    EXPECT_FALSE(log.contains("end"));
    quit.hideEvent();
    EXPECT_EQ(log.last(), "end");
}

TEST_F(QuitSequenceTest, hidesBeforeQuittingDoNotCount)
{
    QuitSequence quit(steps());
    quit.hideEvent(); // the user hid the character earlier
    quit.hideEvent();
    quit.quit();
    EXPECT_FALSE(log.contains("end"));
    quit.hideEvent();
    EXPECT_EQ(log.last(), "end");
}

TEST_F(QuitSequenceTest, cancelledDialogKeepsRunning)
{
    dialogAnswer = std::nullopt;
    QuitSequence quit(steps());
    quit.setAskFirst(true);
    quit.quit();
    EXPECT_EQ(log, QStringList{"ask"});
    EXPECT_EQ(quit.state(), QuitSequence::State::Running);
    EXPECT_FALSE(quit.Quitting());
}

TEST_F(QuitSequenceTest, chosenExitActionRunsBeforeTheEnd)
{
    dialogAnswer = 2;
    QuitSequence quit(steps());
    quit.setAskFirst(true);
    quit.quit();
    quit.hideEvent();
    EXPECT_EQ(log, (QStringList{"ask"} + Sequence + QStringList{"exit:2", "end"}));
}

TEST_F(QuitSequenceTest, sessionEndSkipsTheDialog)
{
    QuitSequence quit(steps());
    quit.setAskFirst(true);
    quit.sessionEnding();
    EXPECT_TRUE(quit.SystemClosing());
    EXPECT_EQ(log, Sequence);
}

TEST_F(QuitSequenceTest, sessionEndWhileTheDialogIsOpenQuitsOnce)
{
    dialogAnswer = 2;
    QuitSequence quit(steps());
    quit.setAskFirst(true);
    duringDialog = [&quit] {
        quit.sessionEnding();
    };
    quit.quit();
    quit.hideEvent();
    // Saved once; the dialog's late answer neither restarts the sequence nor powers off.
    EXPECT_EQ(log, QStringList{"ask"} + Sequence + QStringList{"end"});
}

TEST_F(QuitSequenceTest, secondSessionEndEndsAtOnce)
{
    QuitSequence quit(steps());
    quit.sessionEnding();
    quit.sessionEnding();
    EXPECT_EQ(log, Sequence + QStringList{"end"});
    quit.hideEvent();
    quit.quit();
    EXPECT_EQ(log.count("end"), 1);
    EXPECT_EQ(log.count("save"), 1);
}

TEST_F(QuitSequenceTest, stuckCharacterEndsAfterTheGrace)
{
    QuitSequence quit(steps());
    quit.setGrace(200ms);
    QElapsedTimer elapsed;
    elapsed.start();
    quit.quit();
    EXPECT_TRUE(QTest::qWaitFor([this] { return log.contains("end"); }, 5000));
    EXPECT_GE(elapsed.elapsed(), 150);
}

TEST_F(QuitSequenceTest, noCharacterLoadedEndsRightAway)
{
    characters = 0;
    QuitSequence quit(steps());
    quit.quit();
    EXPECT_EQ(log, Sequence + QStringList{"end"});
}

} // namespace
