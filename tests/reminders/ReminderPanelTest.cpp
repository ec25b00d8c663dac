#include "reminders/ReminderPanel.h"

#include "GuiTestSupport.h"
#include "base/DateTimeText.h"
#include "reminders/AlarmStore.h"
#include "reminders/ClsAlarm.h"
#include "reminders/FrmAlarm.h"
#include "reminders/FrmRecurrence.h"
#include "settings/SettingsStore.h"
#include "support/FixedClock.h"
#include "support/TempHome.h"
#include "ui/ListRows.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

class ReminderPanelTest : public testing::Test
{
protected:
    ReminderPanelTest() { panel.show(); }
    ~ReminderPanelTest() override
    {
        for (FrmAlarm *popup : FrmAlarm::openPopups())
            delete popup;
    }

    template <typename T>
    T *child(const char *name)
    {
        T *w = panel.findChild<T *>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void click(const char *name) { child<QPushButton>(name)->click(); }
    void enter(const QString &subject, const QString &message)
    {
        child<QLineEdit>("AlarmSubject")->setText(subject);
        child<QPlainTextEdit>("AlarmMsg")->setPlainText(message);
    }
    QStringList column(int c) const
    {
        QStringList texts;
        for (int i = 0; i < panel.list()->topLevelItemCount(); ++i)
            texts << panel.list()->topLevelItem(i)->text(c);
        return texts;
    }
    void select(int row) { panel.list()->setCurrentItem(panel.list()->topLevelItem(row)); }
    // The records as a fresh load sees them.
    static std::unique_ptr<AlarmStore> reloaded()
    {
        auto fresh = std::make_unique<AlarmStore>();
        fresh->LoadAlarms();
        return fresh;
    }
    static QStringList storedMessages()
    {
        const auto fresh = reloaded();
        QStringList texts;
        for (int i = 0; i < fresh->count(); ++i)
            texts << fresh->at(i)->MyMsg;
        return texts;
    }
    QString addStored(const QDate &date, const QTime &time, const QString &msg,
                      int recurrence = ClsAlarm::None)
    {
        auto alarm = std::make_unique<ClsAlarm>();
        alarm->MyDate = date;
        alarm->MyTime = time;
        alarm->MyMsg = msg;
        alarm->MySubj = QStringLiteral("S");
        alarm->MyRecurrence = recurrence;
        alarm->setWeekDay(ClsAlarm::weekDayOf(date), true);
        const QString key = AlarmStore::NewKey();
        store.AddAlarm(std::move(alarm), key);
        return key;
    }

    TempHome home;
    FixedClock clock{QDateTime(QDate(2026, 12, 5), QTime(9, 0, 0))};
    RecordingCharacter character;
    AlarmStore store;
    ReminderPanel panel{store, character};
};

TEST_F(ReminderPanelTest, AddRefusesMissingMessageOrSubjectAndStillSaves)
{
    enter(QStringLiteral("Phone"), QStringLiteral("   "));
    click("CmdAdd");
    enter(QStringLiteral(" "), QStringLiteral("Call Ann"));
    click("CmdAdd");
    EXPECT_EQ(character.calls, (QStringList{"decline", "speak:There's no message", "decline",
                                            "speak:There's no subject"}));
    EXPECT_EQ(panel.list()->topLevelItemCount(), 0);
    EXPECT_TRUE(storedMessages().isEmpty());
}

TEST_F(ReminderPanelTest, AddMakesARowAndStoresIt)
{
    child<QDateEdit>("AlarmDateSub")->setDate(QDate(2026, 12, 24));
    child<QTimeEdit>("AlarmTime")->setTime(QTime(15, 4, 0));
    enter(QStringLiteral("Phone"), QStringLiteral("Call Ann\nat home"));
    click("CmdAdd");

    ASSERT_EQ(panel.list()->topLevelItemCount(), 1);
    const QTreeWidgetItem *row = panel.list()->topLevelItem(0);
    EXPECT_EQ(DateTimeText::parseDate(row->text(0)), QDate(2026, 12, 24));
    EXPECT_EQ(DateTimeText::parseTime(row->text(1)), QTime(15, 4, 0));
    EXPECT_EQ(row->text(2), QStringLiteral("Phone"));
    EXPECT_TRUE(row->icon(0).isNull()) << "no recurring mark";
    EXPECT_EQ(character.calls, QStringList{"speak:Ok I got it"});
    EXPECT_TRUE(child<QLineEdit>("AlarmSubject")->text().isEmpty());
    EXPECT_EQ(child<QDateEdit>("AlarmDateSub")->date(), QDate(2026, 12, 24)) << "date stays";
    EXPECT_EQ(storedMessages(), QStringList{"Call Ann\nat home"});

    const ClsAlarm *alarm = store.find(ListRows::keyOf(row));
    ASSERT_NE(alarm, nullptr);
    EXPECT_TRUE(alarm->MyRecurrenceWeekDays[5]) << "24 Dec 2026 is a Thursday";
}

TEST_F(ReminderPanelTest, AddWithRecurrenceOpensTheDialogFirst)
{
    enter(QStringLiteral("Gym"), QStringLiteral("Go"));
    child<QCheckBox>("ChkRecurrence")->setChecked(true);
    bool ownerDisabled = false;
    whenShown(QStringLiteral("FrmRecurrence"), [&](QWidget *dialog) {
        ownerDisabled = !panel.isEnabled();
        EXPECT_EQ(panel.list()->topLevelItemCount(), 0) << "the row comes after the dialog";
        dialog->findChild<QRadioButton *>(QStringLiteral("OptRecur1"))->click();
        dialog->findChild<QPushButton *>(QStringLiteral("CmdOk"))->click();
    });
    click("CmdAdd");
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(panel.isEnabled());
    ASSERT_EQ(panel.list()->topLevelItemCount(), 1);
    EXPECT_FALSE(panel.list()->topLevelItem(0)->icon(0).isNull());
    EXPECT_EQ(store.at(0)->MyRecurrence, ClsAlarm::Monthly);

    // Cancelled: the row is still added, without a mark.
    enter(QStringLiteral("Gym"), QStringLiteral("Again"));
    child<QCheckBox>("ChkRecurrence")->setChecked(true);
    whenShown(QStringLiteral("FrmRecurrence"), [](QWidget *dialog) { dialog->close(); });
    click("CmdAdd");
    ASSERT_EQ(panel.list()->topLevelItemCount(), 2);
    EXPECT_TRUE(panel.list()->topLevelItem(1)->icon(0).isNull());
}

TEST_F(ReminderPanelTest, EditWritesTheRowBackIntoTheRecordAndTheStore)
{
    addStored(QDate(2026, 12, 5), QTime(10, 0), QStringLiteral("old"));
    select(0);
    whenShown(QStringLiteral("FrmEdit"), [](QWidget *dialog) {
        dialog->findChild<QLineEdit *>(QStringLiteral("TxtLn1"))
                ->setText(QStringLiteral("12/24/2026"));
        dialog->findChild<QLineEdit *>(QStringLiteral("TxtLn2"))
                ->setText(QStringLiteral("7:15:00 PM"));
        dialog->findChild<QPlainTextEdit *>(QStringLiteral("TxtMul1"))
                ->setPlainText(QStringLiteral("new"));
        dialog->findChild<QPushButton *>(QStringLiteral("CmdOk"))->click();
    });
    click("CmdEdit");
    EXPECT_EQ(store.at(0)->MyDate, QDate(2026, 12, 24));
    EXPECT_EQ(store.at(0)->MyTime, QTime(19, 15));
    EXPECT_EQ(store.at(0)->MyMsg, QStringLiteral("new"));
    EXPECT_EQ(storedMessages(), QStringList{"new"});

    // An unreadable date keeps the record's date.
    select(0);
    whenShown(QStringLiteral("FrmEdit"), [](QWidget *dialog) {
        dialog->findChild<QLineEdit *>(QStringLiteral("TxtLn1"))->setText(QStringLiteral("soon"));
        dialog->findChild<QPushButton *>(QStringLiteral("CmdOk"))->click();
    });
    click("CmdEdit");
    EXPECT_EQ(store.at(0)->MyDate, QDate(2026, 12, 24));
    EXPECT_EQ(DateTimeText::parseDate(panel.list()->topLevelItem(0)->text(0)), QDate(2026, 12, 24));
}

TEST_F(ReminderPanelTest, DeleteRemovesRowRecordAndStoredText)
{
    addStored(QDate(2026, 12, 5), QTime(10, 0), QStringLiteral("a"));
    addStored(QDate(2026, 12, 6), QTime(10, 0), QStringLiteral("b"));
    click("CmdDel"); // nothing selected: nothing removed
    EXPECT_EQ(store.count(), 2);
    select(0);
    click("CmdDel");
    EXPECT_EQ(column(3), QStringList{"b"});
    EXPECT_EQ(storedMessages(), QStringList{"b"});
}

TEST_F(ReminderPanelTest, MovingAndSortingChangeTheListNotTheStore)
{
    addStored(QDate(2026, 5, 3), QTime(10, 0), QStringLiteral("3 May"));
    addStored(QDate(2026, 5, 1), QTime(10, 0), QStringLiteral("1 May"));
    addStored(QDate(2026, 5, 2), QTime(10, 0), QStringLiteral("2 May"));
    select(2);
    click("CmdUp");
    EXPECT_EQ(column(3), (QStringList{"3 May", "2 May", "1 May"}));
    click("CmdDn");
    click("CmdDn");
    EXPECT_EQ(column(3), (QStringList{"3 May", "1 May", "2 May"}));

    emit panel.list()->header()->sectionClicked(0);
    EXPECT_EQ(column(3), (QStringList{"1 May", "2 May", "3 May"}));
    EXPECT_EQ(store.at(0)->MyMsg, QStringLiteral("3 May"));

    // A reload shows the store's order again.
    store.SaveAlarms();
    store.LoadAlarms();
    EXPECT_EQ(column(3), (QStringList{"3 May", "1 May", "2 May"}));
}

TEST_F(ReminderPanelTest, PastDueRowsAreMarkedAndOnlyUntouchedEntryFieldsReset)
{
    const QString passed = addStored(QDate(2026, 12, 5), QTime(8, 0), QStringLiteral("passed"));
    addStored(QDate(2026, 12, 5), QTime(18, 0), QStringLiteral("later"));
    const QString old = addStored(QDate(2026, 12, 1), QTime(8, 0), QStringLiteral("old"));
    addStored(QDate(2026, 12, 4), QTime(8, 0), QStringLiteral("yesterday"));
    enter(QStringLiteral("x"), QStringLiteral("y"));

    EXPECT_TRUE(panel.CheckPastDue());
    QStringList marked;
    for (int i = 0; i < panel.list()->topLevelItemCount(); ++i) {
        if (ReminderPanel::isMarkedPastDue(panel.list()->topLevelItem(i)))
            marked << panel.list()->topLevelItem(i)->text(3);
    }
    EXPECT_EQ(marked, (QStringList{"passed", "old"}));
    // A reminder being typed survives the check three minutes after start.
    EXPECT_EQ(child<QLineEdit>("AlarmSubject")->text(), QStringLiteral("x"));
    EXPECT_EQ(child<QPlainTextEdit>("AlarmMsg")->toPlainText(), QStringLiteral("y"));

    store.RemoveAlarm(passed);
    store.RemoveAlarm(old);
    click("CmdAdd"); // once added, the fields are the program's again
    store.RemoveAlarm(store.at(store.count() - 1)->MyAlarmKey);
    clock.advanceMinutes(7);
    EXPECT_FALSE(panel.CheckPastDue());
    for (int i = 0; i < panel.list()->topLevelItemCount(); ++i)
        EXPECT_FALSE(ReminderPanel::isMarkedPastDue(panel.list()->topLevelItem(i)));
    EXPECT_EQ(child<QTimeEdit>("AlarmTime")->time(), QTime(9, 7, 0));
}

TEST_F(ReminderPanelTest, DueCheckSpeaksOnTheThirdTickOnlyWhenSomethingIsPastDue)
{
    addStored(QDate(2026, 12, 5), QTime(18, 0), QStringLiteral("later"));
    panel.hide();
    panel.startTimers();
    auto *timer = panel.findChild<QTimer *>(QStringLiteral("TmrDueCheck"));
    for (int i = 0; i < 3; ++i)
        panel.dueCheckTick();
    EXPECT_TRUE(character.calls.isEmpty());
    EXPECT_FALSE(panel.isVisible());
    EXPECT_FALSE(timer->isActive());

    addStored(QDate(2026, 12, 1), QTime(8, 0), QStringLiteral("old"));
    panel.startTimers();
    panel.dueCheckTick();
    panel.dueCheckTick();
    EXPECT_TRUE(character.calls.isEmpty());
    EXPECT_TRUE(timer->isActive());
    panel.dueCheckTick();
    EXPECT_FALSE(timer->isActive());
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(character.calls, QStringList{"speak:There is past due reminders"});
    panel.stopTimers();
}

TEST_F(ReminderPanelTest, ContextMenuOffersRecurrenceOnlyForRecurringRows)
{
    addStored(QDate(2026, 12, 5), QTime(18, 0), QStringLiteral("once"));
    addStored(QDate(2026, 12, 5), QTime(18, 0), QStringLiteral("weekly"), ClsAlarm::Weekly);
    auto *menu = panel.findChild<QMenu *>(QStringLiteral("LstMnu"));
    auto *recurrence = panel.findChild<QAction *>(QStringLiteral("LstMnuEditRecurr"));
    for (int row : {0, 1}) {
        select(row);
        emit panel.list()->customContextMenuRequested(QPoint(5, 5));
        EXPECT_TRUE(menu->isVisible());
        EXPECT_EQ(recurrence->isEnabled(), row == 1);
        menu->hide();
    }
}

TEST_F(ReminderPanelTest, EditRecurrenceUpdatesTheMarkAndStore)
{
    addStored(QDate(2026, 12, 5), QTime(18, 0), QStringLiteral("m"), ClsAlarm::Weekly);
    select(0);
    whenShown(QStringLiteral("FrmRecurrence"), [](QWidget *dialog) {
        dialog->findChild<QRadioButton *>(QStringLiteral("OptRecur2"))->click();
        dialog->findChild<QPushButton *>(QStringLiteral("CmdOk"))->click();
    });
    panel.editRecurrence();
    EXPECT_EQ(store.at(0)->MyRecurrence, ClsAlarm::Yearly);
    const auto fresh = reloaded();
    ASSERT_EQ(fresh->count(), 1);
    EXPECT_EQ(fresh->at(0)->MyRecurrence, ClsAlarm::Yearly);
}

TEST_F(ReminderPanelTest, AReloadWhileTheRecurrenceDialogIsOpenLeavesTheReloadedRecords)
{
    addStored(QDate(2026, 12, 5), QTime(18, 0), QStringLiteral("m"), ClsAlarm::Weekly);
    store.SaveAlarms();
    select(0);
    whenShown(QStringLiteral("FrmRecurrence"), [this](QWidget *dialog) {
        store.LoadAlarms(); // as the options dialog's OK does
        EXPECT_EQ(qobject_cast<FrmRecurrence *>(dialog)->record, nullptr)
                << "it held a destroyed record";
        dialog->findChild<QRadioButton *>(QStringLiteral("OptRecur2"))->click();
        dialog->findChild<QPushButton *>(QStringLiteral("CmdOk"))->click();
    });
    panel.editRecurrence();
    ASSERT_EQ(store.count(), 1);
    EXPECT_EQ(store.at(0)->MyRecurrence, ClsAlarm::Weekly);
}

TEST_F(ReminderPanelTest, EntryFieldsFollowEachOther)
{
    auto *calendar = child<QCalendarWidget>("AlarmDate");
    auto *picker = child<QDateEdit>("AlarmDateSub");
    calendar->setSelectedDate(QDate(2027, 1, 9));
    EXPECT_EQ(picker->date(), QDate(2027, 1, 9));
    picker->setDate(QDate(2027, 2, 1));
    EXPECT_EQ(calendar->selectedDate(), QDate(2027, 2, 1));

    auto *message = child<QPlainTextEdit>("AlarmMsg");
    child<QLineEdit>("AlarmSubject")->setText(QStringLiteral("Dentist"));
    panel.activateWindow();
    QFocusEvent focus(QEvent::FocusIn);
    QApplication::sendEvent(message, &focus);
    EXPECT_EQ(message->toPlainText(), QStringLiteral("Dentist: "));
    EXPECT_EQ(message->textCursor().position(), 9);
}

TEST_F(ReminderPanelTest, DueReminderPopsUpOnceAndOkDismissesIt)
{
    const QString key = addStored(QDate(2026, 12, 5), QTime(9, 1, 0), QStringLiteral("Call"));
    clock.set(QDateTime(QDate(2026, 12, 5), QTime(9, 1, 1)));
    panel.CheckReminders();
    clock.advanceSeconds(1);
    panel.CheckReminders();
    ASSERT_EQ(FrmAlarm::openPopups().size(), 1);
    FrmAlarm *popup = FrmAlarm::openPopups().first();
    EXPECT_EQ(popup->myKey, key);
    ASSERT_EQ(character.calls.size(), 1);
    EXPECT_TRUE(character.calls[0].startsWith(QStringLiteral("reminder:There is a reminder")));

    QTRY_VERIFY(popup->isVisible());
    popup->findChild<QPushButton *>(QStringLiteral("CmdOk"))->click();
    EXPECT_EQ(character.calls.value(1), QStringLiteral("stop:") + key) << "its speech ends";
    EXPECT_TRUE(FrmAlarm::openPopups().isEmpty());
    EXPECT_EQ(store.find(key), nullptr);
    EXPECT_EQ(panel.list()->topLevelItemCount(), 0);
}

TEST_F(ReminderPanelTest, PopupEditOpensTheRowEditorAndCancelReturnsToThePopup)
{
    addStored(QDate(2026, 12, 5), QTime(11, 0), QStringLiteral("other"));
    const QString key = addStored(QDate(2026, 12, 5), QTime(9, 1, 0), QStringLiteral("Call"));
    panel.hide();
    panel.AnnounceReminder(QStringLiteral("s"), QStringLiteral("shown"), key);
    FrmAlarm *popup = FrmAlarm::findOpen(key);
    ASSERT_NE(popup, nullptr);
    QTRY_VERIFY(popup->isVisible());
    QString edited;
    bool secondPopup = true;
    whenShown(QStringLiteral("FrmEdit"), [&](QWidget *dialog) {
        edited = dialog->findChild<QPlainTextEdit *>(QStringLiteral("TxtMul1"))->toPlainText();
        // A tick in the reminder's minute while the editor is open.
        clock.set(QDateTime(QDate(2026, 12, 5), QTime(9, 1, 30)));
        panel.CheckReminders();
        secondPopup = FrmAlarm::openPopups().size() != 1 || character.calls.size() != 1;
        dialog->findChild<QPushButton *>(QStringLiteral("CmdCancel"))->click();
    });
    popup->findChild<QPushButton *>(QStringLiteral("CmdEdit"))->click();
    EXPECT_EQ(edited, QStringLiteral("Call"));
    EXPECT_FALSE(secondPopup);
    EXPECT_TRUE(panel.isVisible());
    EXPECT_NE(store.find(key), nullptr) << "editing does not dismiss";
    // Cancelled: the same pop-up is back, and nothing was announced again.
    ASSERT_EQ(FrmAlarm::findOpen(key), popup);
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(character.calls.size(), 1);

    // Edited: the pop-up has done its work.
    whenShown(QStringLiteral("FrmEdit"), [](QWidget *dialog) {
        dialog->findChild<QPlainTextEdit *>(QStringLiteral("TxtMul1"))->setPlainText("Call Ann");
        dialog->findChild<QPushButton *>(QStringLiteral("CmdOk"))->click();
    });
    popup->findChild<QPushButton *>(QStringLiteral("CmdEdit"))->click();
    EXPECT_EQ(FrmAlarm::findOpen(key), nullptr);
    EXPECT_EQ(store.find(key)->MyMsg, QStringLiteral("Call Ann"));
}

} // namespace
