#pragma once

#include <QWidget>

class AlarmStore;
class BehaviourTimers;
class QTimer;
class ReminderCharacter;
class ReminderPanel;

// The main window: hosts the reminder panel and owns every timer that runs on its own (the
// panel's TmrAlarm and TmrDueCheck, the six behaviour timers). Normally hidden; closing it
// only hides it, and the program goes on.
class FrmMain final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmMain)

public:
    FrmMain(AlarmStore &store, ReminderCharacter &character, QWidget *parent = nullptr);
    ~FrmMain() override;

    ReminderPanel *panel() const { return m_panel; }
    BehaviourTimers &behaviourTimers() const { return *m_behaviour; }
    // A timer by its name ("TmrAlarm", "TmrFollow", ...); nullptr for an unknown name.
    QTimer *timer(const QString &name) const;
    static QStringList timerNames();

    // The timers that run from the start begin; the others wait for their command.
    void startTimers();
    // Every one of the eight timers off (quitting).
    void stopTimers();

    // Load sequence steps: today's date and the current time in the entry fields, the
    // entry fields as wide as the calendar; the window's geometry; the window's texts.
    void prepareEntryFields();
    void applyGeometry();
    void applyLanguage();
    // Makes the window visible in its normal state and brings it to the front.
    void showMain();

    // Once the program is ending, a close request really closes the window.
    void setClosable(bool closable) { m_closable = closable; }

signals:
    // The window hid itself instead of closing: the character is made active again.
    void hidInsteadOfClosing();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    ReminderPanel *m_panel;
    BehaviourTimers *m_behaviour;
    bool m_closable = false;
};
