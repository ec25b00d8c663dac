#include "platform/DesktopEntry.h"
#include "platform/DesktopFixture.h"
#include "platform/MimeDefaults.h"
#include "platform/RunAndWait.h"
#include "platform/XdgOpener.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

struct ExecCase
{
    const char *exec;
    QStringList targets;
    QStringList command;
};

class DesktopEntryCommand : public ::testing::TestWithParam<ExecCase>
{
};

TEST_P(DesktopEntryCommand, expandsFieldCodesIntoSeparateArguments)
{
    DesktopFixture desktop;
    const QString path = desktop.addEntry("app.desktop", GetParam().exec, "Icon=app-icon\n");
    const auto entry = DesktopEntry::read(path);
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->commandFor(GetParam().targets), GetParam().command);
}

INSTANTIATE_TEST_SUITE_P(
        Table, DesktopEntryCommand,
        ::testing::Values(ExecCase{"browser --new-window %u",
                                   {"a b;c"},
                                   {"browser", "--new-window", "a b;c"}},
                          ExecCase{"browser %u", {}, {"browser"}},
                          ExecCase{"viewer %F", {"x", "y"}, {"viewer", "x", "y"}},
                          ExecCase{"\"/opt/My App/run\" --url=%u %i %c",
                                   {"$(touch /tmp/pwned)"},
                                   {"/opt/My App/run", "--url=$(touch /tmp/pwned)", "--icon",
                                    "app-icon", "app.desktop"}},
                          ExecCase{"sh -c \"echo \\\"hi\\\"\" 100%%",
                                   {},
                                   {"sh", "-c", "echo \"hi\"", "100%"}},
                          ExecCase{"\"calc\\sprogram\" %d %m", {}, {"calc program"}}));

TEST(DesktopEntry, hiddenOrCommandlessEntriesAreNotPrograms)
{
    DesktopFixture desktop;
    EXPECT_FALSE(DesktopEntry::read(desktop.addEntry("hidden.desktop", "app", "Hidden=true\n")));
    EXPECT_FALSE(DesktopEntry::read(desktop.addEntry("empty.desktop", "")));
    EXPECT_FALSE(DesktopEntry::read(desktop.dataDir() + "/missing.desktop"));
}

TEST(MimeDefaults, findsTheDefaultEntryForAnExtensionWithoutWritingAFile)
{
    DesktopFixture desktop;
    const QString browser = desktop.addEntry("web.browser.desktop", "browser %u");
    const QString editor = desktop.addEntry("editor.desktop", "editor %F");
    desktop.addEntry("broken.desktop", "");
    // The first listed entry that exists and has a command wins.
    desktop.setDefault({"text/html"}, "missing.desktop;broken.desktop;web.browser.desktop");
    desktop.setDefault({"text/plain"}, "editor.desktop");
    const MimeDefaults mime = desktop.mime();

    EXPECT_EQ(mime.FindAssociatedProgram("htm"), browser);
    EXPECT_EQ(mime.FindAssociatedProgram("HTML"), browser);
    EXPECT_EQ(mime.FindAssociatedProgram("txt"), editor);
    // C source is a kind of plain text: the text editor takes it.
    EXPECT_EQ(mime.FindAssociatedProgram("c"), editor);
    EXPECT_EQ(mime.FindAssociatedProgram("ods"), QString());
    EXPECT_EQ(mime.FindAssociatedProgram("no-such-extension"), QString());
    EXPECT_EQ(mime.FindAssociatedProgram(""), QString());
    EXPECT_EQ(QDir(desktop.dataDir()).entryList(QDir::Files), QStringList());
}

TEST(MimeDefaults, fallsBackToTheSystemCacheAndNestedEntries)
{
    DesktopFixture desktop;
    const QString sheet = desktop.addEntry("office/calc.desktop", "calc %U");
    DesktopFixture::write(desktop.dataDir() + "/applications/mimeinfo.cache",
                          "[MIME Cache]\napplication/vnd.oasis.opendocument.spreadsheet="
                          "office-calc.desktop;\n");
    EXPECT_EQ(desktop.mime().FindAssociatedProgram("ods"), sheet);
}

// A file name that a shell would split, quote and run: `touch` of it makes one file.
const QString HostileName = "a b \"q\" 'x' ;$(touch quillomi-pwned) `touch quillomi-pwned`";

bool pwned(const QTemporaryDir &dir)
{
    return QFileInfo::exists(dir.filePath("quillomi-pwned")) || QFileInfo::exists("quillomi-pwned");
}

TEST(RunAndWait, waitsForARealProcessAndPassesArgumentsUntouched)
{
    QTemporaryDir dir;
    const QString hostile = dir.filePath(HostileName);
    EXPECT_TRUE(RunAndWait("sh", {"-c", "sleep 0.2; touch \"$0\"", hostile}));
    // It returned after the process ended: the file is there already.
    EXPECT_TRUE(QFileInfo::exists(hostile));
    EXPECT_FALSE(pwned(dir));
    EXPECT_TRUE(RunAndWait("false", {}));
    EXPECT_FALSE(RunAndWait(dir.filePath("no-such-program"), {}));
    EXPECT_FALSE(RunAndWait("", {}));
}

TEST(XdgOpener, handsAHostileTargetToTheOpenerAsOneArgument)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(HostileName);
    // "touch" stands in for xdg-open: it creates exactly the file it is given.
    XdgOpener opener(QStringLiteral("touch"));
    ASSERT_TRUE(opener.openWithDefault(target));
    for (QDeadlineTimer deadline(10000); !QFileInfo::exists(target) && !deadline.hasExpired();)
        QThread::msleep(20);
    EXPECT_TRUE(QFileInfo::exists(target));
    EXPECT_FALSE(pwned(dir));
    EXPECT_FALSE(opener.startProgram(QString(), {}));
    EXPECT_FALSE(XdgOpener(dir.filePath("no-such-opener")).openWithDefault(target));
}

} // namespace
