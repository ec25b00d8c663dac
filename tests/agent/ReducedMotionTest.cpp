#include "agent/ReducedMotion.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Sets an environment variable for one test (unset when the value is null).
class ScopedEnv final
{
public:
    ScopedEnv(const char *name, const QByteArray &value)
        : m_name(name)
        , m_had(qEnvironmentVariableIsSet(name))
        , m_previous(qgetenv(name))
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~ScopedEnv()
    {
        if (m_had)
            qputenv(m_name, m_previous);
        else
            qunsetenv(m_name);
    }
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
    const char *m_name;
    bool m_had;
    QByteArray m_previous;
};

struct Desktop
{
    const char *name;
    QByteArray forced;    // QUILLOMI_REDUCED_MOTION; null: unset
    QByteArray gtk;       // gtk-enable-animations in settings.ini; null: no file
    QByteArray gsettings; // the fake gsettings script's body; null: none on PATH
    bool reduced;
};

class ReducedMotionDesktop : public ::testing::TestWithParam<Desktop>
{
};

TEST_P(ReducedMotionDesktop, FollowsTheDesktopWithoutWaitingForIt)
{
    const Desktop &desktop = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("config/gtk-3.0")));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("bin")));
    if (!desktop.gtk.isNull()) {
        QFile ini(dir.filePath(QStringLiteral("config/gtk-3.0/settings.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Settings]\ngtk-enable-animations=" + desktop.gtk + "\n");
    }
    if (!desktop.gsettings.isNull()) {
        QFile script(dir.filePath(QStringLiteral("bin/gsettings")));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\n" + desktop.gsettings + "\n");
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    ScopedEnv path("PATH", QFile::encodeName(dir.filePath(QStringLiteral("bin"))));
    ScopedEnv config("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
    ScopedEnv forced("QUILLOMI_REDUCED_MOTION", desktop.forced);

    ReducedMotion motion;
    QSignalSpy changed(&motion, &ReducedMotion::changed);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !motion.isAsking(); }, 30000));
    EXPECT_EQ(motion.isReduced(), desktop.reduced);
    // Only GNOME's late answer is news.
    const bool gnomeChangedIt =
            desktop.forced.isNull() && desktop.gtk != "false" && desktop.reduced;
    EXPECT_EQ(changed.size(), gnomeChangedIt ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
        Desktops, ReducedMotionDesktop,
        ::testing::Values(
                Desktop{"Plain", {}, {}, {}, false},
                Desktop{"GnomeAnimationsOff", {}, {}, "echo false", true},
                Desktop{"GnomeAnimationsOn", {}, {}, "echo true", false},
                Desktop{"GnomeSchemaMissing", {}, {}, "echo 'No such schema' >&2; exit 1", false},
                Desktop{"GtkAnimationsOff", {}, "false", "echo true", true},
                Desktop{"ForcedOnOverridesTheDesktop", "1", {}, "echo true", true},
                Desktop{"ForcedOffOverridesTheDesktop", "0", "false", "echo false", false}),
        [](const ::testing::TestParamInfo<Desktop> &info) { return info.param.name; });

// A gsettings that hangs (a broken session bus) never holds up start-up.
TEST(ReducedMotion, AHangingGsettingsIsNotWaitedFor)
{
    QTemporaryDir dir;
    QFile script(dir.filePath(QStringLiteral("gsettings")));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nexec sleep 60\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ScopedEnv path("PATH", QFile::encodeName(dir.path()) + ":/usr/bin:/bin");
    ScopedEnv forced("QUILLOMI_REDUCED_MOTION", {});

    auto motion = std::make_unique<ReducedMotion>();
    EXPECT_TRUE(motion->isAsking());
    EXPECT_FALSE(motion->isReduced());
    motion.reset(); // ends the child
}

} // namespace
