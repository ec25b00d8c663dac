#include "GuiTestSupport.h"
#include "base/AppPaths.h"
#include "base/Language.h"
#include "reminders/AlarmStore.h"
#include "reminders/ClsAlarm.h"
#include "reminders/FrmAlarm.h"
#include "reminders/FrmRecurrence.h"
#include "reminders/ReminderCharacter.h"
#include "reminders/ReminderPanel.h"
#include "support/FixedClock.h"
#include "support/TempHome.h"
#include "ui/ApplyLanguage.h"
#include "ui/FrmEdit.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

// The reminder windows are designed with text numbers that the shipped English texts fill.
class LanguageTextsTest : public testing::Test
{
protected:
    LanguageTextsTest()
    {
        AppPaths::seedProgramFolder();
        LoadLanguage(QStringLiteral("English.lang"));
    }

    template <typename T>
    static QString text(QWidget *w, const char *name)
    {
        T *child = w->findChild<T *>(QLatin1String(name));
        EXPECT_NE(child, nullptr) << name;
        return child ? child->text() : QString();
    }

    // The shipped file has exactly the lines each window uses: a caption numbered past its
    // section would show the next section's header or texts.
    static void expectNoTextFromTheNextSection(QWidget *window)
    {
        for (const QLabel *label : window->findChildren<QLabel *>())
            EXPECT_FALSE(label->text().startsWith(u'[')) << qPrintable(label->objectName());
        for (const QAbstractButton *button : window->findChildren<QAbstractButton *>())
            EXPECT_FALSE(button->text().startsWith(u'[')) << qPrintable(button->objectName());
    }

    TempHome home;
    FixedClock clock{QDateTime(QDate(2026, 12, 5), QTime(9, 0))};
    AlarmStore store;
    ReminderPanel panel{store, ReminderCharacter::silent()};
};

TEST_F(LanguageTextsTest, ReminderPanel)
{
    ApplyLanguage(QStringLiteral("[Reminder]"), &panel);
    EXPECT_EQ(text<QPushButton>(&panel, "CmdAdd"), QStringLiteral("Add"));
    EXPECT_EQ(text<QPushButton>(&panel, "CmdDn"), QStringLiteral("Down"));
    EXPECT_EQ(text<QPushButton>(&panel, "CmdOk"), QStringLiteral("OK"));
    EXPECT_EQ(panel.list()->headerItem()->text(3), QStringLiteral("Message"));
    EXPECT_EQ(text<QLabel>(&panel, "LblAlarmSubject"), QStringLiteral("Subject"));
    EXPECT_EQ(text<QAction>(&panel, "LstMnuEditRecurr"), QStringLiteral("Edit Recurrence..."));
    EXPECT_EQ(panel.findChild<QGroupBox *>(QStringLiteral("FrameLst"))->title(),
              QStringLiteral("Your reminders"));
}

TEST_F(LanguageTextsTest, PopupTitleAndButtons)
{
    auto *popup = new FrmAlarm(&panel);
    popup->myKey = QStringLiteral("i1");
    popup->ShowAlarm(QStringLiteral("m"));
    QTRY_VERIFY(popup->isVisible());
    EXPECT_EQ(text<QLabel>(popup, "LblTitle"), QStringLiteral("::: Quillomi ::: Reminder:"));
    EXPECT_EQ(text<QPushButton>(popup, "CmdSnooze"), QStringLiteral("Snooze"));
    EXPECT_EQ(text<QPushButton>(popup, "CmdEdit"), QStringLiteral("Edit"));
    EXPECT_EQ(text<QPushButton>(popup, "CmdOk"), QStringLiteral("OK"));
    expectNoTextFromTheNextSection(popup);
    delete popup;
}

TEST_F(LanguageTextsTest, RowEditorKeepsTheListsHeadersAsLabels)
{
    QTreeWidget list;
    list.setHeaderLabels({"Name", "Target"});
    new QTreeWidgetItem(&list, {"Docs", "/home"});
    QStringList seen;
    whenShown(QStringLiteral("FrmEdit"), [&seen](QWidget *w) {
        seen << w->windowTitle() << text<QLabel>(w, "LblName0") << text<QLabel>(w, "LblName1")
             << text<QPushButton>(w, "CmdDel") << text<QPushButton>(w, "CmdOk");
        w->close();
    });
    FrmEdit::EditFlds(&panel, &list, 1, true, -1, -1);
    EXPECT_EQ(seen, (QStringList{"Edit", "Name", "Target", "Delete", "OK"}));
}

TEST_F(LanguageTextsTest, RecurrenceDialogKeepsItsTextsWhenReused)
{
    FrmRecurrence dialog;
    ClsAlarm alarm;
    dialog.record = &alarm;
    for (int round = 0; round < 2; ++round) {
        QStringList seen;
        whenShown(QStringLiteral("FrmRecurrence"), [&seen](QWidget *w) {
            seen << w->windowTitle() << text<QRadioButton>(w, "OptRecur0")
                 << text<QLabel>(w, "Label1") << text<QLabel>(w, "Label3")
                 << text<QLabel>(w, "LblMon") << text<QPushButton>(w, "CmdCancel");
            expectNoTextFromTheNextSection(w);
            w->close();
        });
        dialog.ShowModalDlg(&panel);
        EXPECT_EQ(seen, (QStringList{"Recurrence", "Weekly", "Recur every", "Weekly",
                                     "On 5 every month.", "Cancel"}));
    }
}

} // namespace
