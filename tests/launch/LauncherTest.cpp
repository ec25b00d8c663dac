#include "launch/Launcher.h"

#include "launch/Favourites.h"
#include "launch/RecordingOpener.h"
#include "platform/DesktopFixture.h"
#include "settings/SettingsStore.h"
#include "support/TempHome.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using Call = RecordingOpener::Call;

struct LauncherRig
{
    TempHome home;
    DesktopFixture desktop;
    RecordingOpener opener;
    SettingsStore store;
    QStringList errors;
    int placed = 0;

    Launcher launcher()
    {
        return Launcher({.opener = &opener,
                         .store = &store,
                         .mime = desktop.mime(),
                         .placeCharacter = [this] { ++placed; },
                         .showError =
                                 [this](const QString &text) {
                                     errors << text;
                                 }});
    }
};

// Targets that a shell would split, expand or take as an option.
const QStringList HostileTargets = {"my file.txt",
                                    "it's \"quoted\"",
                                    "a; rm -rf ~",
                                    "$(touch /tmp/pwned)",
                                    "`touch /tmp/pwned`",
                                    "-rf",
                                    "--help"};

QString asArgument(const QString &target)
{
    return target.startsWith('-') ? "./" + target : target;
}

TEST(Launcher, hostileTargetsReachTheOpenerAsExactlyOneArgument)
{
    LauncherRig rig;
    rig.desktop.addEntry("browser.desktop", "browser --new-window %u");
    rig.desktop.addEntry("files.desktop", "files %U");
    rig.desktop.setDefault({"text/html"}, "browser.desktop");
    rig.desktop.setDefault({"inode/directory"}, "files.desktop");
    Launcher launcher = rig.launcher();
    for (const QString &target : HostileTargets) {
        SCOPED_TRACE(target.toStdString());
        rig.opener.calls.clear();
        launcher.OpenTarget(target, false, Launcher::PageMode);
        launcher.OpenTarget(target, false, Launcher::DocumentMode);
        launcher.OpenTarget(target, true, Launcher::PageMode);
        launcher.OpenTarget(target, false, Launcher::FolderMode);
        const QString arg = asArgument(target);
        EXPECT_EQ(rig.opener.calls, (QList<Call>{{{}, {arg}},
                                                 {{}, {arg}},
                                                 {"browser", {"--new-window", arg}},
                                                 {"files", {arg}}}));
    }
    EXPECT_FALSE(QFileInfo::exists("/tmp/pwned"));
    EXPECT_EQ(rig.placed, 4 * HostileTargets.size());
}

TEST(Launcher, pagesOpenInTheBrowserOnlyWithTheWebFlagAndWhenOneIsRegistered)
{
    LauncherRig rig;
    Launcher launcher = rig.launcher();
    const QString page = "https://example.org/?q=a&b";
    launcher.OpenTarget(page, true, Launcher::PageMode);
    rig.desktop.addEntry("browser.desktop", "browser %u");
    rig.desktop.setDefault({"text/html"}, "browser.desktop");
    launcher = rig.launcher();
    launcher.OpenTarget(page, true, Launcher::PageMode);
    launcher.OpenTarget(page, false, Launcher::PageMode);
    launcher.OpenTarget(page, true, 7); // no such mode: only the character moves
    EXPECT_EQ(rig.opener.calls, (QList<Call>{{{}, {page}}, {"browser", {page}}, {{}, {page}}}));
    EXPECT_EQ(rig.placed, 4);
}

struct FolderCase
{
    const char *target;
    QStringList arguments;
};

class LauncherFolders : public ::testing::TestWithParam<FolderCase>
{
};

TEST_P(LauncherFolders, explorerFormsBecomeTheFileManagersLocations)
{
    LauncherRig rig;
    rig.desktop.addEntry("files.desktop", "files %U");
    rig.desktop.setDefault({"inode/directory"}, "files.desktop");
    rig.launcher().OpenTarget(GetParam().target, false, Launcher::FolderMode);
    EXPECT_EQ(rig.opener.calls, (QList<Call>{{"files", GetParam().arguments}}));
}

INSTANTIATE_TEST_SUITE_P(
        Table, LauncherFolders,
        ::testing::Values(
                FolderCase{"/e,::{208D2C60-3AEA-1069-A2D7-08002B30309D}", {"network:///"}},
                FolderCase{"/e,::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", {"computer:///"}},
                FolderCase{"/E, /root,::{645ff040-5081-101b-9f08-00aa002f954e}", {"trash:///"}},
                FolderCase{"computer:///", {"computer:///"}},
                FolderCase{"/home/user/My Music/", {"/home/user/My Music/"}},
                FolderCase{"/e,/srv/share", {"/srv/share"}}, FolderCase{"", {}}));

TEST(Launcher, aFolderWithoutAFileManagerGoesToTheDefaultHandler)
{
    LauncherRig rig;
    Launcher launcher = rig.launcher();
    launcher.OpenTarget("/e,::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", false, Launcher::FolderMode);
    launcher.OpenTarget("", false, Launcher::FolderMode);
    EXPECT_EQ(rig.opener.calls, (QList<Call>{{{}, {"computer:///"}}, {{}, {QDir::homePath()}}}));
}

TEST(Launcher, favouritesOpenByCaptionIgnoringCase)
{
    LauncherRig rig;
    const QString editor = rig.desktop.addEntry("editor.desktop", "editor %F");
    rig.desktop.setDefault({"text/plain"}, "editor.desktop");
    rig.desktop.addEntry("files.desktop", "files %U");
    rig.desktop.setDefault({"inode/directory"}, "files.desktop");
    QTemporaryDir dir;
    const QString script = dir.filePath("my tool");
    DesktopFixture::write(script, "#!/bin/sh\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::ExeOwner);
    Favourites::write(rig.store, "Pro",
                      {{"Notes", "*.txt"},
                       {"Sheets", "*.ods"},
                       {"Shell", "sh"},
                       {"Tool", script},
                       {"Readme", dir.filePath("readme.txt")},
                       {"Entry", editor}});
    Favourites::write(rig.store, "Dir",
                      {{"Network", "/e,::{208D2C60-3AEA-1069-A2D7-08002B30309D}"}});
    Favourites::write(rig.store, "Site", {{"News", "https://news.example/a,b"}});
    Launcher launcher = rig.launcher();

    launcher.openFavouriteProgram("NOTES");
    launcher.openFavouriteProgram("sheets"); // nothing registered: nothing opens
    launcher.openFavouriteProgram("shell");
    launcher.openFavouriteProgram("tool");
    launcher.openFavouriteProgram("readme");
    launcher.openFavouriteProgram("entry");
    launcher.openFavouriteProgram("gone"); // not in the list: empty target, nothing opens
    launcher.openFavouriteFolder("network");
    launcher.openFavouriteFolder("gone"); // the file manager with no argument
    launcher.openFavouriteSite("news");
    EXPECT_EQ(rig.opener.calls, (QList<Call>{{"editor", {}},
                                             {"sh", {}},
                                             {script, {}},
                                             {{}, {dir.filePath("readme.txt")}},
                                             {"editor", {}},
                                             {"files", {"network:///"}},
                                             {"files", {}},
                                             {{}, {"https://news.example/a,b"}}}));
}

TEST(Launcher, mailGoesToTheMailProgramOrSaysWhyNot)
{
    LauncherRig rig;
    EXPECT_FALSE(rig.launcher().SendMailTo("help@quillomi.example"));
    EXPECT_EQ(rig.errors, QStringList{"Error sending mail. Make sure that you have your email "
                                      "client  correctly installed and configured"});
    EXPECT_TRUE(rig.opener.calls.isEmpty());

    rig.desktop.addEntry("mail.desktop", "mailer --compose %u");
    rig.desktop.setDefault({"x-scheme-handler/mailto"}, "mail.desktop");
    EXPECT_TRUE(rig.launcher().SendMailTo("help@quillomi.example"));
    EXPECT_EQ(rig.opener.calls,
              (QList<Call>{{"mailer",
                            {"--compose", "mailto:help@quillomi.example?subject=About%20%3A%3A%3A%"
                                          "20Quillomi%20%3A%3A%3A%3A"}}}));
    EXPECT_EQ(rig.errors.size(), 1);
}

TEST(Launcher, helpOpensTheSiteOrTheLocalManual)
{
    EXPECT_EQ(Launcher::helpAddress(QUrl("https://quillomi.example"), "/help/index.html", "/p"),
              "https://quillomi.example/help/index.html");
    EXPECT_EQ(Launcher::helpAddress(QUrl(), "/help/index.html", "/opt/q q"),
              "file:///opt/q q/manual.html");
    EXPECT_EQ(Launcher::manualPath("/opt/q"), "/opt/q/manual.html");
}

} // namespace
