#include <QElapsedTimer>
#include <QProcess>
#include <csignal>
#include <gtest/gtest.h>

namespace {

// A real process with the quit sequence wired to its Unix signals.
class SessionEndTest : public ::testing::Test
{
protected:
    ~SessionEndTest() override
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }

    void start(const char *mode, int graceMs)
    {
        m_process.start(QStringLiteral(QUIT_PROBE), {mode, QString::number(graceMs)});
        ASSERT_EQ(waitForLine(), "running");
    }

    QByteArray waitForLine()
    {
        for (int i = 0; i < 100 && !m_process.canReadLine(); ++i)
            m_process.waitForReadyRead(100);
        return m_process.readLine().trimmed();
    }

    void signal(int signalNumber)
    {
        ::kill(static_cast<pid_t>(m_process.processId()), signalNumber);
    }

    QList<QByteArray> remainingLines()
    {
        return m_process.readAllStandardOutput().trimmed().split('\n');
    }

    QProcess m_process;
};

const QList<QByteArray> Sequence = {"save", "close", "ready", "timers", "goodbye", "hide", "end"};

TEST_F(SessionEndTest, sigtermSavesAndEndsOnceTheCharacterHid)
{
    start("hides", 5000);
    QElapsedTimer elapsed;
    elapsed.start();
    signal(SIGTERM);
    ASSERT_TRUE(m_process.waitForFinished(4000));
    EXPECT_LT(elapsed.elapsed(), 3000);
    EXPECT_EQ(m_process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(m_process.exitCode(), 0);
    EXPECT_EQ(remainingLines(), Sequence);
}

TEST_F(SessionEndTest, stuckCharacterCannotKeepTheProgramAlive)
{
    start("stuck", 1000);
    QElapsedTimer elapsed;
    elapsed.start();
    signal(SIGHUP);
    ASSERT_TRUE(m_process.waitForFinished(5000));
    EXPECT_GE(elapsed.elapsed(), 900);
    EXPECT_EQ(m_process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(remainingLines(), Sequence);
}

TEST_F(SessionEndTest, secondSigtermEndsAtOnce)
{
    start("stuck", 60000);
    signal(SIGTERM);
    for (QByteArray line; line != "hide";) {
        line = waitForLine();
        ASSERT_FALSE(line.isEmpty()) << "the sequence did not reach the hide step";
    }
    QElapsedTimer elapsed;
    elapsed.start();
    signal(SIGTERM);
    ASSERT_TRUE(m_process.waitForFinished(4000));
    EXPECT_LT(elapsed.elapsed(), 2000);
    EXPECT_EQ(m_process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(remainingLines(), QList<QByteArray>{"end"});
}

} // namespace
