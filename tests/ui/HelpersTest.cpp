#include "app/UserNamePrompt.h"
#include "base/AppTitle.h"
#include "base/SpecialFolders.h"
#include "base/Twips.h"
#include "support/TempHome.h"
#include "ui/WindowHelpers.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

// Runs one test of this binary again in a child process with extra environment.
int runSelf(const QString &filter, const QStringList &environment)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString &pair : environment)
        env.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
    child.setProcessEnvironment(env);
    child.start(QApplication::applicationFilePath(), {"--gtest_filter=" + filter});
    if (!child.waitForFinished(60000))
        return -1;
    if (child.exitCode() != 0)
        ADD_FAILURE() << child.readAllStandardOutput().toStdString();
    return child.exitCode();
}

TEST(TwipsTest, ConvertsAtTheLogicalDpi)
{
    const double dpi = Twips::dpiX();
    EXPECT_EQ(Twips::toPixelsX(1440), qRound(dpi));
    EXPECT_EQ(Twips::toPixels(QSize(7095, 3015)),
              QSize(qRound(7095 * dpi / 1440), qRound(3015 * Twips::dpiY() / 1440)));
    EXPECT_EQ(Twips::fromPixelsX(Twips::toPixelsX(2880)), 2880);
    EXPECT_EQ(Twips::toPixels(QRect(1440, 0, 720, 1440)).topLeft(), QPoint(qRound(dpi), 0));
}

// Child half of the scaling test: the layout keeps its logical size, Qt doubles the device
// pixels.
TEST(TwipsScaledTest, KeepsTheLogicalSizeAtTwiceTheScale)
{
    const QByteArray expected = qgetenv("TWIPS_EXPECT_DPR");
    if (expected.isEmpty())
        GTEST_SKIP() << "runs as a child of ScalesWithTheDesktop";
    QWidget window;
    window.resize(Twips::toPixels(QSize(1440, 720)));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_DOUBLE_EQ(window.devicePixelRatioF(), expected.toDouble());
    EXPECT_EQ(window.size(), QSize(96, 48));
    EXPECT_EQ(window.grab().size(), QSize(96, 48) * expected.toInt());
}

TEST(TwipsTest, ScalesWithTheDesktop)
{
    if (QGuiApplication::platformName() != "offscreen")
        GTEST_SKIP() << "the scale is set through the offscreen platform";
    EXPECT_EQ(runSelf("TwipsScaledTest.*", {"QT_SCALE_FACTOR=1", "TWIPS_EXPECT_DPR=1"}), 0);
    EXPECT_EQ(runSelf("TwipsScaledTest.*", {"QT_SCALE_FACTOR=2", "TWIPS_EXPECT_DPR=2"}), 0);
}

TEST(SpecialFolderTest, FollowsTheDesktopsUserFolders)
{
    TempHome home;
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("XDG_CONFIG_HOME", home.filePath("xdg").toUtf8());
    qputenv("HOME", home.path().toUtf8());
    QDir().mkpath(home.filePath("xdg"));
    QFile dirs(home.filePath("xdg/user-dirs.dirs"));
    ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
    dirs.write("XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\nXDG_MUSIC_DIR=\"$HOME/Tunes\"\n"
               "XDG_PICTURES_DIR=\"$HOME/Photos/\"\n");
    dirs.close();
    for (const char *folder : {"Papers", "Tunes"})
        QDir(home.path()).mkpath(folder);

    EXPECT_EQ(GetSpecialFolder(nullptr, SpecialFolder::Documents), home.filePath("Papers/"));
    EXPECT_EQ(GetSpecialFolder(nullptr, SpecialFolder::Music), home.filePath("Tunes/"));
    // Named by the desktop but not there: no path to a folder that does not exist.
    EXPECT_EQ(GetSpecialFolder(nullptr, SpecialFolder::Pictures), QString());
    EXPECT_EQ(GetSpecialFolder(nullptr, 0), QString());
    EXPECT_EQ(GetSpecialFolder(nullptr, 6), QString());

    qputenv("XDG_CONFIG_HOME", oldConfig);
    qputenv("HOME", oldHome);
}

TEST(BrowseForFolderTest, CancelGivesEmptyAndAChoiceGivesTheFolder)
{
    TempHome home;
    QWidget owner;
    QTimer::singleShot(0, &owner, [] {
        if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    EXPECT_EQ(BrowseForFolder(&owner), QString());

    const QString chosen = home.filePath("chosen");
    QDir().mkpath(chosen);
    QTimer::singleShot(0, &owner, [chosen] {
        if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            dialog->selectFile(chosen);
            static_cast<QDialog *>(dialog)->accept();
        }
    });
    EXPECT_EQ(QDir(BrowseForFolder(&owner)), QDir(chosen));
}

TEST(SetTopmostTest, ChangesTheStateInPlace)
{
    QWidget window;
    window.setGeometry(40, 50, 200, 100);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const WId id = window.winId();
    const QRect geometry = window.geometry();
    const bool wasActive = window.isActiveWindow();

    SetTopmost(&window, true);
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.winId(), id); // not re-created
    EXPECT_EQ(window.geometry(), geometry);
    EXPECT_EQ(window.isActiveWindow(), wasActive);

    SetTopmost(&window, false);
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.winId(), id);

    // Hidden and never shown: the flag waits for the window to be created.
    QWidget later;
    SetTopmost(&later, true);
    EXPECT_FALSE(later.isVisible());
    EXPECT_TRUE(later.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST(SetDigitsOnlyTest, RefusesEverythingButDigits)
{
    QLineEdit edit;
    SetDigitsOnly(&edit);
    SetDigitsOnly(&edit);
    edit.show();
    QTest::keyClicks(&edit, "1a2 -3.");
    EXPECT_EQ(edit.text(), "123");
}

} // namespace

namespace {

TEST(UserNamePromptTest, ProposesTheLoginNameAndReturnsTheAnswer)
{
    QString title, label, proposed;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        label = dialog->labelText();
        proposed = dialog->textValue();
        dialog->setTextValue("Grace");
        dialog->accept();
    });
    EXPECT_EQ(PromptUserName("gh"), "Grace");
    EXPECT_EQ(title, AppTitle());
    EXPECT_EQ(label, "Please Enter Your Name");
    EXPECT_EQ(proposed, "gh");

    QTimer::singleShot(0, [] {
        if (auto *dialog = qobject_cast<QInputDialog *>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    EXPECT_EQ(PromptUserName("gh"), QString());
}

} // namespace
