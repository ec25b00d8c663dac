#include "launch/Favourites.h"
#include "launch/FrmFaveDir.h"
#include "launch/FrmFavePro.h"
#include "launch/FrmFaveProOpt.h"
#include "launch/FrmFaveSite.h"
#include "launch/FrmWebSearch.h"
#include "launch/Launcher.h"
#include "launch/RecordingOpener.h"
#include "launch/TwoEngineLocation.h"
#include "reminders/GuiTestSupport.h"
#include "settings/SettingsStore.h"
#include "support/TempHome.h"

#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

template <typename T>
T *child(QWidget *w, const QString &name)
{
    T *found = w->findChild<T *>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
}

void click(QWidget *w, const QString &name)
{
    if (auto *button = child<QAbstractButton>(w, name))
        button->click();
}

// Answers the next input box with `text` (empty: cancels it), then runs `next`.
void answerInputBox(const QString &text, std::function<void()> next = {})
{
    whenShown(QStringLiteral("InputBox"), [text, next](QWidget *w) {
        auto *dialog = qobject_cast<QDialog *>(w);
        if (text.isEmpty()) {
            dialog->reject();
        } else {
            w->findChild<QLineEdit *>()->setText(text);
            dialog->accept();
        }
        if (next)
            next();
    });
}

QStringList rows(QWidget *window)
{
    QStringList texts;
    auto *list = child<QTreeWidget>(window, "Lst");
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts << list->topLevelItem(i)->text(0) + "|" + list->topLevelItem(i)->text(1);
    return texts;
}

void select(QWidget *window, int row)
{
    auto *list = child<QTreeWidget>(window, "Lst");
    list->setCurrentItem(list->topLevelItem(row));
}

TEST(FavouriteWindows, programAddedThroughTheDialogAndTheNameBoxIsSavedOnlyByOk)
{
    TempHome home;
    SettingsStore store;
    Favourites::write(store, "Pro", {{"Calculator", "gnome-calculator"}});
    FrmFavePro window(store);
    window.show();
    whenShown("FrmFaveProOpt", [](QWidget *dialog) {
        click(dialog, "OptExt");
        EXPECT_TRUE(child<QLineEdit>(dialog, "TxtExt")->isEnabled());
        EXPECT_FALSE(child<QLineEdit>(dialog, "TxtPro")->isEnabled());
        child<QLineEdit>(dialog, "TxtExt")->setText("*.odt");
        answerInputBox("Tom, Dick");
        click(dialog, "CmdOk");
    });
    click(&window, "CmdAdd");
    EXPECT_EQ(rows(&window), (QStringList{"Calculator|gnome-calculator", "Tom. Dick|*.odt"}));
    EXPECT_EQ(Favourites::read(store, "Pro").size(), 1);
    click(&window, "CmdOk");
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(Favourites::read(store, "Pro"),
              (FavouriteList{{"Calculator", "gnome-calculator"}, {"Tom. Dick", "*.odt"}}));
}

TEST(FavouriteWindows, listCommandsEditAWorkingCopyThatCancelDrops)
{
    TempHome home;
    SettingsStore store;
    const FavouriteList stored = {{"A", "/a"}, {"B", "/b"}, {"C", "/c"}};
    Favourites::write(store, "Dir", stored);
    FrmFaveDir window(store);
    window.show();
    click(&window, "CmdDel"); // nothing selected: nothing happens
    select(&window, 0);
    click(&window, "CmdDn");
    click(&window, "CmdDn");
    click(&window, "CmdDn"); // already last
    EXPECT_EQ(rows(&window), (QStringList{"B|/b", "C|/c", "A|/a"}));
    select(&window, 1);
    click(&window, "CmdDel");
    select(&window, 0);
    whenShown("FrmEdit", [](QWidget *editor) {
        child<QLineEdit>(editor, "TxtLn1")->setText("Bee, hive");
        child<QLineEdit>(editor, "TxtLn2")->setText("/b,2");
        click(editor, "CmdOk");
    });
    click(&window, "CmdEdit");
    EXPECT_EQ(rows(&window), (QStringList{"Bee. hive|/b,2", "A|/a"}));
    click(&window, "CmdCancel");
    EXPECT_EQ(Favourites::read(store, "Dir"), stored);

    FrmFaveDir again(store);
    select(&again, 2);
    whenShown("FrmEdit", [](QWidget *editor) { click(editor, "CmdDel"); });
    click(&again, "CmdEdit");
    click(&again, "CmdOk");
    EXPECT_EQ(Favourites::read(store, "Dir"), stored.mid(0, 2));
}

TEST(FavouriteWindows, theMenusAddCommandRunsThePromptsWithoutShowingTheWindow)
{
    TempHome home;
    SettingsStore store;
    Favourites::write(store, "Site", {{"News", "https://news.example"}});
    {
        // The bare protocol start adds nothing; the unchanged list is saved again.
        FrmFaveSite window(store);
        answerInputBox("https://");
        window.addWithoutShowing();
        EXPECT_FALSE(window.isVisible());
    }
    {
        FrmFaveSite window(store);
        child<QRadioButton>(&window, "optHttps")->setChecked(true);
        whenShown("InputBox", [](QWidget *w) {
            EXPECT_EQ(w->findChild<QLineEdit *>()->text(), "https://");
            w->findChild<QLineEdit *>()->setText("https://a.example/?x=1,2");
            answerInputBox("Mine, too");
            qobject_cast<QDialog *>(w)->accept();
        });
        window.addWithoutShowing();
    }
    {
        FrmFaveSite window(store);
        answerInputBox("https://b.example", [] { answerInputBox(""); });
        window.addWithoutShowing(); // the name box cancelled: nothing added
    }
    EXPECT_EQ(Favourites::read(store, "Site"),
              (FavouriteList{{"News", "https://news.example"},
                             {"Mine. too", "https://a.example/?x=1,2"}}));
}

TEST(FavouriteWindows, addProgramDialogKeepsAChosenPatternWhenClosedAndEmptyOnCancel)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("run.exe");
    QFile(file).open(QIODevice::WriteOnly);
    QWidget owner;
    owner.show();
    FrmFaveProOpt dialog;
    whenShown("FrmFaveProOpt", [file](QWidget *w) {
        click(w, "OptExt");
        whenShown("FindProgram", [file, w](QWidget *picker) {
            auto *files = qobject_cast<QFileDialog *>(picker);
            files->selectFile(file);
            QMetaObject::invokeMethod(files, "accept");
            QTimer::singleShot(0, w, [w] { w->close(); }); // the close box
        });
        click(w, "CmdFind");
    });
    dialog.ShowModalDlg(&owner);
    EXPECT_EQ(dialog.findChild<QLineEdit *>("TxtExt")->text(), "*.exe");
    EXPECT_EQ(dialog.SelectedTarget, "*.exe");
    EXPECT_TRUE(owner.isEnabled());

    FrmFaveProOpt typed;
    whenShown("FrmFaveProOpt", [](QWidget *w) {
        child<QLineEdit>(w, "TxtPro")->setText("  gnome-calculator ");
        click(w, "CmdCancel");
    });
    typed.ShowModalDlg(&owner);
    EXPECT_EQ(typed.SelectedTarget, QString());
}

TEST(FrmWebSearchWindow, searchesEveryTickedEngineInBoxOrderThenCloses)
{
    QTemporaryDir dir;
    const QString loc = twoEngineLocationFile(dir);
    RecordingOpener opener;
    Launcher launcher({.opener = &opener,
                       .store = nullptr,
                       .mime = MimeDefaults({}, {}),
                       .placeCharacter = {},
                       .showError = {}});
    int engine = 1;
    int spoken = 0;
    auto *window = new FrmWebSearch({&launcher, loc, &engine, [&spoken] {
                                         ++spoken;
                                     }});
    QPointer<FrmWebSearch> alive(window);
    window->show();
    EXPECT_TRUE(child<QCheckBox>(window, "ChkSearch1")->isChecked());
    child<QLineEdit>(window, "TxtSearch")->setText("   ");
    click(window, "CmdSearch");
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(opener.calls.isEmpty());

    click(window, "ChkSearch3");
    EXPECT_EQ(engine, 3);
    click(window, "ChkSearch3");
    click(window, "ChkSearch3");
    click(window, "ChkPin");
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    child<QLineEdit>(window, "TxtSearch")->setText("a&b 50%");
    click(window, "CmdSearch");
    EXPECT_EQ(opener.calls,
              (QList<RecordingOpener::Call>{{{}, {"https://g.example/?q=a%26b+50%25"}},
                                            {{}, {"https://m.example/?q=a%26b%2050%25"}}}));
    EXPECT_EQ(spoken, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.isNull());
}

} // namespace
