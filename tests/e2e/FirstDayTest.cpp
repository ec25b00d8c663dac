// A user's first day with Quillomi, on a real desktop: the real executable, driven only
// from outside (X11 input, the files it writes, the character component's log).

#include "DesktopUser.h"
#include "platform/SqliteDb.h"
#include "support/VirtualDesktop.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTime>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr auto FakeStart = "2026-12-06 10:00:00";
// The program's clock runs ten times faster than the real one: a minute passes in six
// seconds, so snoozing for five minutes takes about half a minute.
constexpr int Speed = 10;
const QString FakeTimeLibrary =
        QStringLiteral("/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1");
const QString Title = QStringLiteral("::: Quillomi :::");

class FirstDay : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_desktop.isReady()) << m_desktop.error().toStdString();
        ASSERT_TRUE(m_home.isValid());
    }

    void TearDown() override
    {
        for (auto &process : m_processes) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(5000);
            }
        }
    }

    QString logPath(const QString &name) const { return m_home.filePath(name + u".log"); }

    QProcess &start(const QString &name, bool fakeTime)
    {
        QProcessEnvironment env = m_desktop.environment();
        env.insert(QStringLiteral("QUILLOMI_HOME"), m_home.path());
        env.insert(QStringLiteral("QUILLOMI_SPEECH_WAV"), m_home.filePath(name + u".wav"));
        env.insert(QStringLiteral("QUILLOMI_SITE"), QString()); // offline texts only
        env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("quillomi.agent.info=true"));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        env.insert(QStringLiteral("LANG"), QStringLiteral("C"));
        if (fakeTime) {
            env.insert(QStringLiteral("LD_PRELOAD"), FakeTimeLibrary);
            env.insert(QStringLiteral("FAKETIME"),
                       QStringLiteral("@%1 x%2").arg(QLatin1String(FakeStart)).arg(Speed));
        }
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(env);
        process->setProcessChannelMode(QProcess::MergedChannels);
        process->setStandardOutputFile(logPath(name));
        process->start(QStringLiteral(QUILLOMI_EXE), {});
        m_processes.push_back(std::move(process));
        return *m_processes.back();
    }

    QString log(const QString &name) const
    {
        QFile file(logPath(name));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    // Every text the character began to speak, in order. A log entry runs to the next
    // entry's category prefix: spoken texts may hold line breaks.
    QStringList spoken(const QString &name) const
    {
        static const QRegularExpression speak(QStringLiteral("^\\S+ request \\d+ Speak (.*)$"),
                                              QRegularExpression::DotMatchesEverythingOption);
        QStringList texts;
        for (const QString &entry : log(name).split(QStringLiteral("quillomi.agent: "))) {
            const QRegularExpressionMatch match = speak.match(entry.trimmed());
            if (match.hasMatch())
                texts << match.captured(1);
        }
        return texts;
    }

    bool saidSomething(const QString &name, const QString &words) const
    {
        return spoken(name).join(u'\n').contains(words);
    }

    // Every stored value as "key|name|data", in the order written.
    QStringList storedValues() const
    {
        SqliteDb db;
        if (db.open(m_home.filePath(QStringLiteral("config/registry.db"))) !=
            SqliteDb::OpenResult::Ok)
            return {QStringLiteral("cannot open")};
        QStringList rows;
        SqliteDb::Statement statement(db, "SELECT k.name, v.name, v.data FROM reg_value v "
                                          "JOIN reg_key k ON k.id = v.key ORDER BY v.id");
        while (statement.next())
            rows << statement.text(0) + u'|' + statement.text(1) + u'|' + statement.text(2);
        return rows;
    }

    QList<DesktopUser::Window> windows(const QString &title) const
    {
        return m_user.visibleWindows(title);
    }

    // The one window titled `title` once it has stopped moving (pop-ups slide in, the tour
    // walks); an empty id and rectangle when there is none.
    DesktopUser::Window settled(const QString &title, int timeoutMs) const
    {
        DesktopUser::Window last;
        const bool found = DesktopUser::waitUntil(
                [&] {
                    const auto shown = windows(title);
                    if (shown.size() != 1)
                        return false;
                    const bool still = shown.constFirst().geometry == last.geometry;
                    last = shown.constFirst();
                    return still;
                },
                timeoutMs);
        return found ? last : DesktopUser::Window{};
    }

    QRect settledWindow(const QString &title, int timeoutMs) const
    {
        return settled(title, timeoutMs).geometry;
    }

    bool heardWithin(const QString &name, const QString &words, int timeoutMs) const
    {
        return DesktopUser::waitUntil([&] { return saidSomething(name, words); }, timeoutMs);
    }

    // The program's clock, from the real time since its start.
    QTime fakeNow() const
    {
        return QTime::fromString(QLatin1String(FakeStart).mid(11), u"HH:mm:ss")
                .addMSecs(m_started.elapsed() * Speed);
    }

    VirtualDesktop m_desktop;
    DesktopUser m_user{m_desktop};
    QTemporaryDir m_home;
    QElapsedTimer m_started;
    std::vector<std::unique_ptr<QProcess>> m_processes;
};

TEST_F(FirstDay, GreetsRemindsSnoozesAndSavesOnTerm)
{
    m_started.start();
    QProcess &program = start(QStringLiteral("first"), true);
    ASSERT_TRUE(program.waitForStarted(10000));

    // The first start asks for the user's name (the character is not shown yet).
    const DesktopUser::Window question = settled(Title, 20000);
    ASSERT_FALSE(question.id.isEmpty()) << log(QStringLiteral("first")).toStdString();
    m_desktop.run(QStringLiteral("xdotool"),
                  {QStringLiteral("windowactivate"), QStringLiteral("--sync"), question.id});
    m_user.key(QStringLiteral("ctrl+a"));
    m_user.type(QStringLiteral("Alice"));
    m_desktop.screenshot(QStringLiteral("e2e-1-name-question"));
    m_user.key(QStringLiteral("Return"));

    // The greeting by the hour, heard; the character starts at its home position.
    ASSERT_TRUE(DesktopUser::waitUntil(
            [&] {
                return saidSomething(QStringLiteral("first"), QStringLiteral("Good Morning Alice"));
            },
            15000))
            << log(QStringLiteral("first")).toStdString();
    const QRect screen(0, 0, 1280, 800);
    const int characterSize = 128;
    EXPECT_TRUE(log(QStringLiteral("first"))
                        .contains(QStringLiteral(" MoveTo %1,0\n")
                                          .arg(screen.width() - 2 * characterSize)));
    EXPECT_TRUE(DesktopUser::waitUntil(
            [&] { return QFileInfo(m_home.filePath(QStringLiteral("first.wav"))).size() > 8000; },
            10000));
    m_desktop.screenshot(QStringLiteral("e2e-2-greeting"));

    // The first-run tour walks the character about; its last line is said where it ends.
    ASSERT_TRUE(heardWithin(QStringLiteral("first"),
                            QStringLiteral("Now let's set things up the way you like them"),
                            30000));
    const QRect character = settledWindow(Title, 30000);
    ASSERT_FALSE(character.isEmpty());

    // The right-click menu opens the reminder list.
    m_user.click(character.center(), 3);
    m_user.key(QStringLiteral("Down Return"));
    const QString mainTitle = QStringLiteral("Reminders");
    const QRect main = settledWindow(mainTitle, 10000);
    ASSERT_FALSE(main.isEmpty());
    m_desktop.screenshot(QStringLiteral("e2e-3-main-window"));

    // A reminder a minute or two ahead (the entry fields sit right of the list).
    const QTime due = [&] {
        const QTime soon = fakeNow().addSecs(90);
        return QTime(soon.hour(), soon.minute()).addSecs(60);
    }();
    m_user.click(QPoint(main.right() - 200, main.top() + 213));
    m_user.key(QStringLiteral("ctrl+a"));
    m_user.type(QLocale::c().toString(due, u"h:mm:ss AP"));
    m_user.click(QPoint(main.right() - 140, main.top() + 241));
    m_user.type(QStringLiteral("Tea"));
    m_user.click(QPoint(main.right() - 140, main.top() + 288));
    m_user.key(QStringLiteral("ctrl+a"));
    m_user.type(QStringLiteral("Brew the tea"));
    m_user.click(QPoint(main.left() + 59, main.bottom() - 52));
    ASSERT_TRUE(DesktopUser::waitUntil(
            [&] {
                return storedValues().join(u'\n').contains(QStringLiteral("|Brew the tea|Tea|"));
            },
            10000))
            << storedValues().join(u'\n').toStdString();

    // It fires within its minute: the pop-up sits right on the panel, the text is spoken.
    const QString popupTitle = QStringLiteral("Reminder");
    ASSERT_TRUE(DesktopUser::waitUntil([&] { return !windows(popupTitle).isEmpty(); }, 40000))
            << log(QStringLiteral("first")).toStdString();
    const QRect popup = settledWindow(popupTitle, 5000);
    EXPECT_EQ(popup.bottom(), m_desktop.workArea().bottom());
    EXPECT_TRUE(heardWithin(QStringLiteral("first"), QStringLiteral("There is a reminder for you."),
                            10000));
    EXPECT_TRUE(saidSomething(QStringLiteral("first"), QStringLiteral("Message : Brew the tea")));
    m_desktop.screenshot(QStringLiteral("e2e-4-reminder"));

    // Snooze (five minutes by default) hides it; it comes back.
    m_user.click(QPoint(popup.left() + 161, popup.bottom() - 20));
    ASSERT_TRUE(DesktopUser::waitUntil([&] { return windows(popupTitle).isEmpty(); }, 5000));
    ASSERT_TRUE(DesktopUser::waitUntil([&] { return !windows(popupTitle).isEmpty(); }, 60000));
    const QRect back = settledWindow(popupTitle, 5000);
    EXPECT_EQ(back.bottom(), m_desktop.workArea().bottom());

    // OK dismisses it; a one-time reminder leaves the store.
    m_user.click(QPoint(back.right() - 48, back.bottom() - 20));
    ASSERT_TRUE(DesktopUser::waitUntil([&] { return windows(popupTitle).isEmpty(); }, 5000));

    // A second copy runs its load sequence, ends by itself and changes nothing stored.
    const QStringList before = storedValues();
    QProcess &second = start(QStringLiteral("second"), false);
    ASSERT_TRUE(second.waitForFinished(30000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(log(QStringLiteral("second")).contains(QStringLiteral("load Agent0 ")));
    EXPECT_EQ(storedValues(), before);
    EXPECT_EQ(program.state(), QProcess::Running);

    // The session ends: everything is saved, the goodbye said, the program gone.
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(15000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_TRUE(saidSomething(QStringLiteral("first"), QStringLiteral("Bye bye Alice")))
            << log(QStringLiteral("first")).toStdString();
    const QString stored = storedValues().join(u'\n');
    EXPECT_TRUE(stored.contains(QStringLiteral("Setting|User|Alice"))) << stored.toStdString();
    EXPECT_FALSE(stored.contains(QStringLiteral("Brew the tea"))) << stored.toStdString();
}

// A logout during the first start's name question: the program ends in order, at once,
// and the first-run values it wrote stay.
TEST_F(FirstDay, EndsInOrderWhenTheSessionEndsDuringTheNameQuestion)
{
    QProcess &program = start(QStringLiteral("asked"), false);
    ASSERT_TRUE(program.waitForStarted(10000));
    ASSERT_FALSE(settled(Title, 20000).id.isEmpty()) << log(QStringLiteral("asked")).toStdString();

    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(15000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_TRUE(storedValues().join(u'\n').contains(QStringLiteral("Setting|StRun|No")));
}

} // namespace
