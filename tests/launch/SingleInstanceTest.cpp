#include "platform/SingleInstance.h"

#include "base/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

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

// Another user's folder or lock could make every start look like a second copy: such a
// folder is refused with a message, and this copy runs unguarded instead of ending.
struct Planted
{
    const char *name;
    std::function<void(const QString &folder)> plant;
    bool refused;
};

class PlantedRuntimeFolder : public ::testing::TestWithParam<Planted>
{
protected:
    PlantedRuntimeFolder()
        : m_runtime(qgetenv("XDG_RUNTIME_DIR"))
        , m_tmp(qgetenv("TMPDIR"))
        , m_home(qgetenv("QUILLOMI_HOME"))
    {
        // The fallback without a runtime folder of the user's: the shared temporary folder.
        qunsetenv("XDG_RUNTIME_DIR");
        qunsetenv("QUILLOMI_HOME");
        qputenv("TMPDIR", m_shared.path().toUtf8());
        ::chmod(QFile::encodeName(m_shared.path()).constData(), 01777);
    }
    ~PlantedRuntimeFolder() override
    {
        for (const auto &[name, value] :
             {std::pair{"XDG_RUNTIME_DIR", m_runtime}, std::pair{"TMPDIR", m_tmp},
              std::pair{"QUILLOMI_HOME", m_home}}) {
            if (value.isEmpty())
                qunsetenv(name);
            else
                qputenv(name, value);
        }
    }

    QByteArray m_runtime;
    QByteArray m_tmp;
    QByteArray m_home;
    QTemporaryDir m_shared;
};

uid_t nobody()
{
    const passwd *entry = ::getpwnam("nobody");
    return entry ? entry->pw_uid : 65534;
}

void chownToNobody(const QString &path)
{
    ASSERT_EQ(::lchown(QFile::encodeName(path).constData(), nobody(), nobody()), 0);
}

void plantFolder(const QString &folder, mode_t mode, bool nobodys)
{
    ASSERT_TRUE(QDir().mkdir(folder));
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), mode), 0);
    if (nobodys)
        chownToNobody(folder);
}

TEST_P(PlantedRuntimeFolder, IsRefusedAndTheCopyRunsUnguarded)
{
    const QString expected =
            QDir(m_shared.path()).filePath(QStringLiteral("quillomi-%1").arg(::geteuid()));
    GetParam().plant(expected);
    const QString folder = AppPaths::runtimeFolder();
    ASSERT_EQ(folder, expected);

    SingleInstance instance(folder);
    EXPECT_EQ(!instance.problem().isEmpty(), GetParam().refused)
            << instance.problem().toStdString();
    EXPECT_TRUE(instance.claim());
    EXPECT_EQ(instance.check(300ms), SingleInstance::Outcome::FirstCopy);
    EXPECT_EQ(instance.isServing(), !GetParam().refused);
}

INSTANTIATE_TEST_SUITE_P(
        Plants, PlantedRuntimeFolder,
        ::testing::Values(Planted{"NothingPlanted", [](const QString &) {}, false},
                          // Made by an older version: it is ours, so it is closed again.
                          Planted{"OwnFolderLeftOpen",
                                  [](const QString &f) { plantFolder(f, 0777, false); }, false},
                          Planted{"FolderOfAnotherUser",
                                  [](const QString &f) { plantFolder(f, 0700, true); }, true},
                          Planted{"OpenFolderOfAnotherUser",
                                  [](const QString &f) { plantFolder(f, 0777, true); }, true},
                          Planted{"LinkToAFolderOfOurs",
                                  [](const QString &folder) {
                                      plantFolder(folder + QStringLiteral("-target"), 0700, false);
                                      ASSERT_TRUE(QFile::link(folder + QStringLiteral("-target"),
                                                              folder));
                                  },
                                  true},
                          Planted{"LockOfAnotherUser",
                                  [](const QString &folder) {
                                      plantFolder(folder, 0700, false);
                                      const QString lock =
                                              folder + QStringLiteral("/Quillomi.lock");
                                      QFile file(lock);
                                      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
                                      file.write("1\nquillomi\nhost\n");
                                      file.close();
                                      chownToNobody(lock);
                                  },
                                  true}),
        [](const auto &info) { return std::string(info.param.name); });

} // namespace
