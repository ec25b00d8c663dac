#include "reminders/FrmRecurrence.h"

#include "GuiTestSupport.h"
#include "reminders/ClsAlarm.h"
#include "support/FixedClock.h"
#include "ui/FrmEdit.h"

#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

class FrmRecurrenceTest : public testing::Test
{
protected:
    FrmRecurrenceTest()
    {
        owner.show();
        alarm.MyDate = QDate(2027, 1, 31);
        dialog.record = &alarm;
    }

    // Opens the dialog, runs `act` on it while it waits, and returns once it has closed.
    void run(std::function<void(QWidget *)> act)
    {
        whenShown(QStringLiteral("FrmRecurrence"), act);
        dialog.ShowModalDlg(&owner);
    }
    template <typename T>
    static T *child(QWidget *w, const QString &name)
    {
        return w->findChild<T *>(name);
    }
    static void click(QWidget *w, const QString &name) { child<QAbstractButton>(w, name)->click(); }

    FixedClock clock{QDateTime(QDate(2026, 12, 5), QTime(9, 0))};
    QWidget owner;
    ClsAlarm alarm;
    FrmRecurrence dialog;
};

TEST_F(FrmRecurrenceTest, NewReminderOpensWithNoKindAndTheWeeklyPanel)
{
    alarm.setWeekDay(ClsAlarm::weekDayOf(alarm.MyDate), true); // a Sunday
    run([](QWidget *w) {
        for (int k = 0; k < 3; ++k)
            EXPECT_FALSE(child<QRadioButton>(w, QStringLiteral("OptRecur%1").arg(k))->isChecked());
        EXPECT_TRUE(child<QFrame>(w, QStringLiteral("FrameDetails0"))->isVisible());
        EXPECT_FALSE(child<QFrame>(w, QStringLiteral("FrameDetails1"))->isVisible());
        auto *days = child<QListWidget>(w, QStringLiteral("LstWeek"));
        EXPECT_EQ(days->item(0)->text(), QLocale::system().dayName(7)) << "Sunday first";
        EXPECT_EQ(days->item(0)->checkState(), Qt::Checked);
        days->item(3)->setCheckState(Qt::Checked); // Wednesday
        child<QLineEdit>(w, QStringLiteral("TxtRecurWeek"))->setText(QStringLiteral("3"));
        click(w, QStringLiteral("CmdOk"));
    });
    EXPECT_EQ(alarm.MyRecurrence, ClsAlarm::None);
    EXPECT_TRUE(alarm.MyRecurrenceWeekDays[1]);
    EXPECT_TRUE(alarm.MyRecurrenceWeekDays[4]);
    EXPECT_EQ(alarm.MyRecurrenceWeekNum, 3);
    EXPECT_TRUE(owner.isEnabled());
}

TEST_F(FrmRecurrenceTest, SummariesUseTheDayAndMonthName)
{
    QString monthly, yearly;
    run([&](QWidget *w) {
        monthly = child<QLabel>(w, QStringLiteral("LblMon"))->text();
        yearly = child<QLabel>(w, QStringLiteral("LblYear"))->text();
        click(w, QStringLiteral("CmdCancel"));
    });
    EXPECT_EQ(monthly, QStringLiteral("On 31 every month."));
    EXPECT_EQ(yearly, QStringLiteral("On 31 - ") + QLocale::system().monthName(1) +
                              QStringLiteral(" every year."));
}

TEST_F(FrmRecurrenceTest, KindsShowOnePanelAndHiddenChoicesAreStillStored)
{
    run([](QWidget *w) {
        child<QListWidget>(w, QStringLiteral("LstWeek"))->item(6)->setCheckState(Qt::Checked);
        click(w, QStringLiteral("OptRecur1"));
        EXPECT_FALSE(child<QFrame>(w, QStringLiteral("FrameDetails0"))->isVisible());
        EXPECT_TRUE(child<QFrame>(w, QStringLiteral("FrameDetails1"))->isVisible());
        click(w, QStringLiteral("OptRecur2"));
        EXPECT_FALSE(child<QFrame>(w, QStringLiteral("FrameDetails1"))->isVisible());
        EXPECT_TRUE(child<QFrame>(w, QStringLiteral("FrameDetails2"))->isVisible());
        click(w, QStringLiteral("OptRecurEnd2"));
        child<QDateEdit>(w, QStringLiteral("dtRecurEndDate"))->setDate(QDate(2030, 1, 1));
        child<QLineEdit>(w, QStringLiteral("TxtRecurEndNum"))->setText(QStringLiteral("4"));
        click(w, QStringLiteral("CmdOk"));
    });
    EXPECT_EQ(alarm.MyRecurrence, ClsAlarm::Yearly);
    EXPECT_TRUE(alarm.MyRecurrenceWeekDays[7]);
    EXPECT_EQ(alarm.MyRecurrenceEnd, ClsAlarm::EndOnDate);
    EXPECT_EQ(alarm.MyRecurrenceEndDate, QDate(2030, 1, 1));
    EXPECT_EQ(alarm.MyRecurrenceEndNum, 4);
}

TEST_F(FrmRecurrenceTest, CancelAndCloseBoxLeaveTheRecordExactlyAsItWas)
{
    alarm.MyRecurrence = ClsAlarm::Monthly;
    alarm.MyRecurrenceEnd = ClsAlarm::EndAfterPeriods;
    alarm.MyRecurrenceEndNum = 5;
    const QString before = alarm.SaveAlarm();
    for (const bool closeBox : {false, true}) {
        run([closeBox](QWidget *w) {
            EXPECT_TRUE(child<QRadioButton>(w, QStringLiteral("OptRecur1"))->isChecked());
            EXPECT_TRUE(child<QRadioButton>(w, QStringLiteral("OptRecurEnd1"))->isChecked());
            click(w, QStringLiteral("OptRecur0"));
            child<QLineEdit>(w, QStringLiteral("TxtRecurEndNum"))->setText(QStringLiteral("9"));
            if (closeBox)
                w->close();
            else
                click(w, QStringLiteral("CmdCancel"));
        });
        EXPECT_EQ(alarm.SaveAlarm(), before);
    }
}

struct BadNumberCase
{
    const char *name;
    const char *weeks;
    const char *endNum;
    const char *marked;
};

void PrintTo(const BadNumberCase &c, std::ostream *os)
{
    *os << c.name;
}

class BadNumberTest : public FrmRecurrenceTest, public testing::WithParamInterface<BadNumberCase>
{
};

TEST_P(BadNumberTest, KeepsTheDialogOpenWithTheFieldMarked)
{
    const BadNumberCase &c = GetParam();
    const QString before = alarm.SaveAlarm();
    bool stayedOpen = false;
    bool marked = false;
    run([&](QWidget *w) {
        click(w, QStringLiteral("OptRecur0"));
        child<QLineEdit>(w, QStringLiteral("TxtRecurWeek"))->setText(QLatin1String(c.weeks));
        child<QLineEdit>(w, QStringLiteral("TxtRecurEndNum"))->setText(QLatin1String(c.endNum));
        click(w, QStringLiteral("CmdOk"));
        stayedOpen = w->isVisible();
        marked = child<QLineEdit>(w, QLatin1String(c.marked))->property("invalid").toBool();
        click(w, QStringLiteral("CmdCancel"));
    });
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(marked);
    EXPECT_EQ(alarm.SaveAlarm(), before);
}

const BadNumberCase badNumbers[] = {
        {"EmptyWeeks", "", "1", "TxtRecurWeek"},
        {"ZeroWeeks", "0", "1", "TxtRecurWeek"},
        {"EmptyEndCount", "2", "", "TxtRecurEndNum"},
};

INSTANTIATE_TEST_SUITE_P(Fields, BadNumberTest, testing::ValuesIn(badNumbers),
                         [](const auto &info) { return std::string(info.param.name); });

// The pop-up's edit button can open the row editor on the main window while this dialog
// waits on it: the main window stays disabled until the last of the two has closed.
TEST_F(FrmRecurrenceTest, OwnerStaysDisabledWhileAnyOfItsDialogsIsOpen)
{
    QTreeWidget list(&owner);
    new QTreeWidgetItem(&list, {QStringLiteral("a")});
    bool disabledAfterEditor = false;
    run([&](QWidget *w) {
        whenShown(QStringLiteral("FrmEdit"), [](QWidget *editor) { editor->close(); });
        FrmEdit::EditFlds(&owner, &list, 1, false, -1, -1);
        disabledAfterEditor = !owner.isEnabled();
        click(w, QStringLiteral("CmdCancel"));
    });
    EXPECT_TRUE(disabledAfterEditor);
    EXPECT_TRUE(owner.isEnabled());
}

TEST_F(FrmRecurrenceTest, NumberFieldsTakeDigitsOnly)
{
    run([](QWidget *w) {
        auto *weeks = child<QLineEdit>(w, QStringLiteral("TxtRecurWeek"));
        weeks->clear();
        QTest::keyClicks(weeks, QStringLiteral("1a-2"));
        EXPECT_EQ(weeks->text(), QStringLiteral("12"));
        click(w, QStringLiteral("CmdOk"));
    });
    EXPECT_EQ(alarm.MyRecurrenceWeekNum, 12);
}

} // namespace
