#pragma once

#include "reminders/DueChecker.h"

#include <QIcon>
#include <QWidget>
#include <memory>

class AlarmStore;
class ClsAlarm;
class FrmRecurrence;
class ReminderCharacter;
class QCalendarWidget;
class QCheckBox;
class QDateEdit;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTimeEdit;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

// The reminder part of the main window: entry fields for a new reminder, the list of all
// reminders with its commands, and the two reminder timers. The list follows the store;
// moving rows changes the list only. Its captions are text numbers of the "[Reminder]"
// language section, applied by the window that hosts it.
class ReminderPanel final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReminderPanel)

public:
    // The panel speaks through `character` (ReminderCharacter::silent() for none).
    ReminderPanel(AlarmStore &store, ReminderCharacter &character, QWidget *parent = nullptr);
    ~ReminderPanel() override;

    AlarmStore &store() const { return m_store; }
    QTreeWidget *list() const { return m_list; }

    // Starts TmrAlarm (every second) and TmrDueCheck (the past-due check after three minutes).
    void startTimers();
    void stopTimers();

    // The commands of the buttons and the list's menu.
    void addReminder();
    // True when the row was changed or deleted, false when the editor was cancelled.
    bool editSelected();
    void deleteSelected();
    void editRecurrence();
    void moveUp();
    void moveDown();
    void closeWindow();

    // Marks the past-due rows (bold red) and resets the entry fields; true when any is.
    bool CheckPastDue();
    // TmrAlarm's tick.
    void CheckReminders();
    // TmrDueCheck's tick: on the third one, reports past-due reminders once.
    void dueCheckTick();
    // Opens the pop-up for `key` unless one is open, and has the character speak.
    void AnnounceReminder(const QString &spoken, const QString &shown, const QString &key);
    // The pop-up's OK: dismisses the reminder and silences what is left of its speech.
    void DismissAlarm(const QString &key);
    // A snoozed pop-up came back: the character calls attention to it with its subject.
    void remindAgain(const QString &key);
    // The pop-up's edit: brings the window up, selects the reminder's row and edits it;
    // false when the editor was cancelled.
    bool editReminder(const QString &key);
    // Copies an edited row's date, time, subject and message back into its record.
    void UpdateAlarmFromRow(int rowIndex);
    void resetEntryFields();

    static bool isMarkedPastDue(const QTreeWidgetItem *row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void rebuildList();
    QTreeWidgetItem *appendRow(const ClsAlarm &alarm);
    void fillRow(QTreeWidgetItem *row, const ClsAlarm &alarm) const;
    void removeRow(const QString &key);
    void updateRow(const QString &key);
    void showListMenu(const QPoint &pos);
    void markPastDue(QTreeWidgetItem *row, bool on) const;
    // False when the store could not be written; the user is told once.
    bool saveAlarms();
    void refuse(const QString &reason);
    // The recurrence dialog, made on first use and owned by the panel.
    FrmRecurrence &recurrenceDialog();

    AlarmStore &m_store;
    ReminderCharacter &m_character;
    DueChecker m_checker;
    QCalendarWidget *m_date;
    QDateEdit *m_dateSub;
    QTimeEdit *m_time;
    QLineEdit *m_subject;
    QPlainTextEdit *m_message;
    QCheckBox *m_recurrence;
    QTreeWidget *m_list;
    QMenu *m_menu;
    QAction *m_menuEdit;
    QAction *m_menuDel;
    QAction *m_menuRecurrence;
    const QIcon m_recurringIcon; // asked of the style once, not per row
    QTimer *m_alarmTimer;
    QTimer *m_dueTimer;
    std::unique_ptr<FrmRecurrence> m_recurrenceDialog;
    QString m_recurrenceKey; // the record the recurrence dialog is open on
    bool m_pastDueBusy = false;
    bool m_saveFailing = false;
    // The user has changed an entry field since they were last reset.
    bool m_entryTyped = false;
    bool m_resettingEntry = false;
    quint16 m_dueTicks = 0;
};
