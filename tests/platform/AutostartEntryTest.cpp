#include "platform/AutostartEntry.h"

#include "platform/RegistryOps.h"
#include "support/TempHome.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

QString readEntry()
{
    QFile file(AutostartEntry::file());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QString execLine(const QString &program)
{
    return QStringLiteral("\nExec=") + AutostartEntry::execValue(program) + u'\n';
}

struct ExecCase
{
    const char *name;
    const char *program;
    const char *exec;
};

class ExecValueTest : public ::testing::TestWithParam<ExecCase>
{
};

TEST_P(ExecValueTest, QuotesAndEscapesAsDesktopEntriesWant)
{
    EXPECT_EQ(AutostartEntry::execValue(QString::fromUtf8(GetParam().program)),
              QString::fromUtf8(GetParam().exec));
}

INSTANTIATE_TEST_SUITE_P(
        Programs, ExecValueTest,
        ::testing::Values(ExecCase{"Plain", "/usr/bin/quillomi", R"("/usr/bin/quillomi")"},
                          ExecCase{"Space", "/opt/My Apps/quillomi", R"("/opt/My Apps/quillomi")"},
                          ExecCase{"Quote", R"(/opt/a"b/q)", R"("/opt/a\\"b/q")"},
                          ExecCase{"Dollar", "/opt/$HOME/q", R"("/opt/\\$HOME/q")"},
                          ExecCase{"Backtick", "/opt/`x`/q", R"("/opt/\\`x\\`/q")"},
                          ExecCase{"Backslash", R"(/opt/a\b/q)", R"("/opt/a\\\\b/q")"},
                          ExecCase{"Percent", "/opt/100%/q", R"("/opt/100%%/q")"},
                          ExecCase{"NonAscii", "/opt/Übung/q", R"("/opt/Übung/q")"}),
        [](const auto &info) { return std::string(info.param.name); });

class AutostartMirror : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetRegistryMessageHandler([](const QString &) {});
        program = home.filePath(QStringLiteral("bin dir/quillomi"));
    }
    void TearDown() override { SetRegistryMessageHandler({}); }

    void setRun(const QString &text)
    {
        RegCreateKeyPath(AutostartEntry::RunKey);
        RegSetString(AutostartEntry::RunKey, AutostartEntry::ValueName, text);
        ASSERT_EQ(RegLastResult(), 0);
    }

    TempHome home;
    QString program;
};

TEST_F(AutostartMirror, EntryLivesUnderTheTestHome)
{
    EXPECT_EQ(AutostartEntry::file(),
              home.filePath(QStringLiteral("config/autostart/quillomi.desktop")));
}

TEST_F(AutostartMirror, SettingTheRunValueWritesTheEntry)
{
    // A real executable file of this test's own, in a folder with a space.
    QDir().mkpath(QFileInfo(program).absolutePath());
    ASSERT_TRUE(QFile::copy(QCoreApplication::applicationFilePath(), program));
    setRun(program);
    const QString entry = readEntry();
    EXPECT_TRUE(entry.startsWith(QStringLiteral("[Desktop Entry]\n")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nType=Application\n")));
    EXPECT_TRUE(entry.contains(execLine(program))) << entry.toStdString();
}

TEST_F(AutostartMirror, WindowsStylePathStartsTheRunningProgram)
{
    setRun(QStringLiteral("C:\\Program Files\\Quillomi\\Quillomi.exe"));
    EXPECT_TRUE(readEntry().contains(execLine(QCoreApplication::applicationFilePath())));
}

TEST_F(AutostartMirror, ValueNameComparesWithoutCase)
{
    RegCreateKeyPath(AutostartEntry::RunKey);
    RegSetString(AutostartEntry::RunKey.toLower(), AutostartEntry::ValueName.toUpper(),
                 QStringLiteral("/x"));
    EXPECT_TRUE(QFileInfo::exists(AutostartEntry::file()));
}

TEST_F(AutostartMirror, OtherValuesUnderRunWriteNothing)
{
    RegCreateKeyPath(AutostartEntry::RunKey);
    RegSetString(AutostartEntry::RunKey, QStringLiteral("Other Program"), QStringLiteral("/x"));
    EXPECT_EQ(RegLastResult(), 0);
    EXPECT_FALSE(QFileInfo::exists(AutostartEntry::file()));
}

TEST_F(AutostartMirror, BlankValueRemovesTheEntry)
{
    setRun(QStringLiteral("/x"));
    ASSERT_TRUE(QFileInfo::exists(AutostartEntry::file()));
    setRun(QStringLiteral("   "));
    EXPECT_FALSE(QFileInfo::exists(AutostartEntry::file()));
}

TEST_F(AutostartMirror, DeletingTheValueRemovesTheEntry)
{
    setRun(QStringLiteral("/x"));
    ASSERT_TRUE(QFileInfo::exists(AutostartEntry::file()));
    RegDeleteValueAt(0x80000001,
                     QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Run"),
                     AutostartEntry::ValueName);
    EXPECT_EQ(RegLastResult(), 0);
    EXPECT_FALSE(QFileInfo::exists(AutostartEntry::file()));
}

TEST_F(AutostartMirror, DeletingAnAncestorKeyRemovesTheEntry)
{
    setRun(QStringLiteral("/x"));
    ASSERT_TRUE(QFileInfo::exists(AutostartEntry::file()));
    RegDeleteKeyPath(QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows"));
    EXPECT_EQ(RegLastResult(), 0);
    EXPECT_FALSE(QFileInfo::exists(AutostartEntry::file()));
}

} // namespace
