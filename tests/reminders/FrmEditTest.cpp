#include "ui/FrmEdit.h"

#include "GuiTestSupport.h"
#include "base/AppPaths.h"
#include "base/Language.h"
#include "base/Twips.h"
#include "support/TempHome.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

class FrmEditTest : public testing::Test
{
protected:
    FrmEditTest()
    {
        owner.show();
        list.setColumnCount(4);
        list.setHeaderLabels({"Date", "Time", "Subject", "Message"});
        new QTreeWidgetItem(&list, {"12/5/2026", "3:04:00 PM", "Phone", "Call Ann"});
        new QTreeWidgetItem(&list, {"12/6/2026", "4:00:00 PM", "Gym", "Go"});
    }
    QStringList row(int i) const
    {
        QStringList texts;
        for (int c = 0; c < list.columnCount(); ++c)
            texts << list.topLevelItem(i)->text(c);
        return texts;
    }

    QWidget owner;
    QTreeWidget list{&owner};
};

TEST_F(FrmEditTest, OkOverwritesEveryCellAndReenablesTheOwner)
{
    bool ownerDisabled = false;
    QStringList labels;
    whenShown(QStringLiteral("FrmEdit"), [&](QWidget *dialog) {
        ownerDisabled = !owner.isEnabled();
        for (int c = 0; c < 4; ++c)
            labels << dialog->findChild<QLabel *>(QStringLiteral("LblName%1").arg(c))->text();
        EXPECT_EQ(dialog->findChildren<QLineEdit *>().size(), 3);
        auto *multi = dialog->findChild<QPlainTextEdit *>(QStringLiteral("TxtMul1"));
        EXPECT_EQ(multi->toPlainText(), QStringLiteral("Go"));
        EXPECT_EQ(multi->height(), Twips::toPixelsY(1000));
        EXPECT_FALSE(dialog->findChild<QPushButton *>(QStringLiteral("CmdDel"))->isVisible());
        dialog->findChild<QLineEdit *>(QStringLiteral("TxtLn3"))->setText(QStringLiteral("Swim"));
        multi->setPlainText(QStringLiteral("line 1\nline 2"));
        dialog->findChild<QPushButton *>(QStringLiteral("CmdOk"))->click();
    });
    FrmEdit::EditFlds(&owner, &list, 2, false, 4, 1000);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(owner.isEnabled());
    EXPECT_EQ(labels, (QStringList{"Date", "Time", "Subject", "Message"}));
    EXPECT_EQ(row(1), (QStringList{"12/6/2026", "4:00:00 PM", "Swim", "line 1\nline 2"}));
    EXPECT_EQ(row(0), (QStringList{"12/5/2026", "3:04:00 PM", "Phone", "Call Ann"}));
}

TEST_F(FrmEditTest, CancelAndTheCloseBoxLeaveTheRowAlone)
{
    for (const bool useCloseBox : {false, true}) {
        whenShown(QStringLiteral("FrmEdit"), [useCloseBox](QWidget *dialog) {
            dialog->findChild<QLineEdit *>(QStringLiteral("TxtLn1"))->setText(QStringLiteral("x"));
            if (useCloseBox)
                dialog->close();
            else
                dialog->findChild<QPushButton *>(QStringLiteral("CmdCancel"))->click();
        });
        FrmEdit::EditFlds(&owner, &list, 1, false, 4, 1000);
        EXPECT_EQ(row(0)[0], QStringLiteral("12/5/2026"));
        EXPECT_TRUE(owner.isEnabled());
    }
}

TEST_F(FrmEditTest, NoRowSelectedShowsNothing)
{
    bool shown = false;
    whenShown(
            QStringLiteral("FrmEdit"),
            [&](QWidget *dialog) {
                shown = true;
                dialog->close();
            },
            5);
    FrmEdit::EditFlds(&owner, &list, 0, false, 4, 1000);
    QTest::qWait(100);
    EXPECT_FALSE(shown);
    EXPECT_TRUE(owner.isEnabled());
}

TEST_F(FrmEditTest, DeleteIsOfferedWhenAskedAndRemovesTheRow)
{
    whenShown(QStringLiteral("FrmEdit"), [](QWidget *dialog) {
        auto *del = dialog->findChild<QPushButton *>(QStringLiteral("CmdDel"));
        EXPECT_TRUE(del->isVisible());
        EXPECT_TRUE(dialog->findChildren<QPlainTextEdit *>().isEmpty()) << "-1 is no column";
        del->click();
    });
    FrmEdit::EditFlds(&owner, &list, 1, true, -1, -1);
    ASSERT_EQ(list.topLevelItemCount(), 1);
    EXPECT_EQ(row(0)[2], QStringLiteral("Gym"));
}

TEST_F(FrmEditTest, OneColumnListPutsTheButtonsBelowItsField)
{
    QTreeWidget single(&owner);
    single.setHeaderLabels({"Name"});
    new QTreeWidgetItem(&single, {"Docs"});
    whenShown(QStringLiteral("FrmEdit"), [](QWidget *dialog) {
        auto *field = dialog->findChild<QLineEdit *>(QStringLiteral("TxtLn1"));
        auto *ok = dialog->findChild<QPushButton *>(QStringLiteral("CmdOk"));
        EXPECT_EQ(dialog->findChildren<QLineEdit *>().size(), 1);
        EXPECT_EQ(ok->y(), field->y() + field->height() + Twips::toPixelsY(100));
        EXPECT_GE(dialog->height(), ok->y() + ok->height());
        ok->click();
    });
    FrmEdit::EditFlds(&owner, &single, 1, true, -1, -1);
}

TEST_F(FrmEditTest, LongButtonTextsStayInsideTheWindow)
{
    TempHome home;
    QFile file(AppPaths::join(AppPaths::programFolder(), QStringLiteral("Long.lang")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Edit]\nBearbeiten\nEintrag endgueltig loeschen\nAlle Aenderungen verwerfen\n"
               "Uebernehmen und schliessen\n");
    file.close();
    ASSERT_TRUE(LoadLanguage(QStringLiteral("Long.lang")));
    whenShown(QStringLiteral("FrmEdit"), [](QWidget *dialog) {
        for (const char *name : {"CmdDel", "CmdCancel", "CmdOk"}) {
            auto *button = dialog->findChild<QPushButton *>(QLatin1String(name));
            EXPECT_TRUE(dialog->rect().contains(button->geometry())) << name;
            EXPECT_GE(button->width(), button->sizeHint().width()) << name;
        }
        dialog->close();
    });
    FrmEdit::EditFlds(&owner, &list, 1, true, -1, -1);
    LoadLanguage(QString());
}

TEST_F(FrmEditTest, RowRemovedWhileOpenIsNotWrittenElsewhere)
{
    whenShown(QStringLiteral("FrmEdit"), [this](QWidget *dialog) {
        delete list.takeTopLevelItem(0); // e.g. dismissed from its pop-up meanwhile
        dialog->findChild<QLineEdit *>(QStringLiteral("TxtLn3"))->setText(QStringLiteral("x"));
        dialog->findChild<QPushButton *>(QStringLiteral("CmdOk"))->click();
    });
    FrmEdit::EditFlds(&owner, &list, 1, false, 4, 1000);
    ASSERT_EQ(list.topLevelItemCount(), 1);
    EXPECT_EQ(row(0)[2], QStringLiteral("Gym"));
}

} // namespace
