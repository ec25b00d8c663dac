#include "platform/SingleInstance.h"

#include <QFile>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

// Each copy of the program is a real process running the instance check.
class SingleInstanceTest : public ::testing::Test
{
protected:
    ~SingleInstanceTest() override
    {
        for (QProcess *process : m_held) {
            process->kill();
            process->waitForFinished(5000);
            delete process;
        }
    }

    // Starts a copy that keeps running when it is the first; returns its first line.
    QProcess *startHolding(QByteArray *firstLine)
    {
        auto *process = new QProcess;
        m_held << process;
        process->start(QStringLiteral(SINGLE_INSTANCE_PROBE), {"hold", m_dir.path()});
        *firstLine = readLine(process);
        return process;
    }

    // Runs a copy to its end and returns what it printed.
    QByteArray runOnce()
    {
        QProcess process;
        process.start(QStringLiteral(SINGLE_INSTANCE_PROBE), {"check", m_dir.path()});
        EXPECT_TRUE(process.waitForFinished(10000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        return process.readAllStandardOutput().trimmed();
    }

    static QByteArray readLine(QProcess *process)
    {
        for (int i = 0; i < 100 && !process->canReadLine(); ++i)
            process->waitForReadyRead(100);
        return process->readLine().trimmed();
    }

    QString serverPath() const { return m_dir.filePath("Quillomi-Main.socket"); }

    QTemporaryDir m_dir;
    QList<QProcess *> m_held;
};

TEST_F(SingleInstanceTest, secondCopyIsAnsweredAndEnds)
{
    QByteArray first;
    QProcess *running = startHolding(&first);
    ASSERT_EQ(first, "first");
    EXPECT_EQ(runOnce(), "answered");
    EXPECT_EQ(readLine(running), "command:run");
    EXPECT_EQ(running->state(), QProcess::Running);
}

TEST_F(SingleInstanceTest, runningCopyAcceptsAnyCommand)
{
    QByteArray first;
    QProcess *running = startHolding(&first);
    ASSERT_EQ(first, "first");
    EXPECT_TRUE(SingleInstance::execute(serverPath(), "anything at all"));
    EXPECT_EQ(readLine(running), "command:anything at all");
}

TEST_F(SingleInstanceTest, runawayClientIsCutOffAndServingGoesOn)
{
    QByteArray first;
    QProcess *running = startHolding(&first);
    ASSERT_EQ(first, "first");
    QLocalSocket flood;
    flood.connectToServer(serverPath());
    ASSERT_TRUE(flood.waitForConnected(2000));
    flood.write(QByteArray(100000, 'x'));
    flood.waitForBytesWritten(2000);
    EXPECT_TRUE(flood.state() == QLocalSocket::UnconnectedState || flood.waitForDisconnected(3000));
    EXPECT_EQ(runOnce(), "answered");
    EXPECT_EQ(readLine(running), "command:run");
}

TEST_F(SingleInstanceTest, newStartTakesOverAfterTheFirstCopyWasKilled)
{
    QByteArray first;
    QProcess *running = startHolding(&first);
    ASSERT_EQ(first, "first");
    running->kill(); // SIGKILL: the lock file and the socket stay behind
    ASSERT_TRUE(running->waitForFinished(5000));
    ASSERT_TRUE(QFile::exists(m_dir.filePath("Quillomi.lock")));

    QProcess *next = startHolding(&first);
    EXPECT_EQ(first, "first");
    EXPECT_EQ(runOnce(), "answered");
    EXPECT_EQ(readLine(next), "command:run");
}

TEST_F(SingleInstanceTest, firstCopyEndingNormallyFreesTheLock)
{
    EXPECT_EQ(runOnce(), "first");
    EXPECT_EQ(runOnce(), "first");
}

TEST_F(SingleInstanceTest, liveLockWithoutAnAnswerStillEndsTheSecondCopy)
{
    // A copy that holds the lock but does not serve yet (still loading) is running.
    QLockFile held(m_dir.filePath("Quillomi.lock"));
    ASSERT_TRUE(held.tryLock());
    SingleInstance second(m_dir.path());
    EXPECT_EQ(second.check(300ms), SingleInstance::Outcome::AnotherCopyRunning);
    EXPECT_FALSE(second.isServing());
}

TEST_F(SingleInstanceTest, leftoverSocketFileDoesNotBlockTheFirstCopy)
{
    QFile leftover(serverPath());
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.close();
    SingleInstance instance(m_dir.path());
    EXPECT_EQ(instance.check(300ms), SingleInstance::Outcome::FirstCopy);
    EXPECT_TRUE(instance.isServing());
    EXPECT_TRUE(QFile::permissions(serverPath()) & QFile::ReadOwner);
    EXPECT_FALSE(QFile::permissions(serverPath()) & (QFile::ReadOther | QFile::WriteOther));
}

} // namespace
