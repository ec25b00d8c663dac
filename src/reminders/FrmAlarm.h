#pragma once

#include <QPointer>
#include <QWidget>

class Browser;
class QComboBox;
class QLabel;
class QPushButton;
class QTimer;
class ReminderPanel;

// The pop-up of one due reminder: slides up at the bottom right above the task bar (and
// above pop-ups already open), shows the reminder with its addresses as links, and offers
// snooze, edit and OK. It refers to its reminder by key only.
class FrmAlarm final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmAlarm)

public:
    // Designed client size in twips.
    static constexpr int DesignWidth = 7095;
    static constexpr int DesignHeight = 3015;
    // Each pop-up's bottom edge sits this far above the last one opened.
    static constexpr int StackStep = 240;
    static constexpr int RightMargin = 120;
    static constexpr int SlideStep = 20;

    // How much of the message the page lays out.
    static constexpr int ShownLength = 10000;

    explicit FrmAlarm(ReminderPanel *panel);
    ~FrmAlarm() override;

    // Key of the reminder shown; set before ShowAlarm.
    QString myKey;
    // Distance in twips from the screen's bottom edge to this window's bottom edge.
    int new_y = 0;

    // Opens the pop-up with `text`; it appears once its page has loaded.
    void ShowAlarm(const QString &text);

    // Open (or snoozed) pop-ups, the first opened first.
    static QList<FrmAlarm *> openPopups();
    static FrmAlarm *findOpen(const QString &key);

    // The bottom offset in twips for a new pop-up: above the last one opened, else just
    // above a task bar along the bottom edge (the part of the screen outside the available
    // area), else 0.
    static int GetAlarmTopWnd(const QRect &screen, const QRect &available);

    int heightTwips() const { return m_heightTwips; }
    bool isSnoozed() const;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void pageLoaded();
    void placeAt(int heightTwips);
    void slideIn();
    void popTick();
    void snooze();
    void snoozeTick();
    void ok();
    void edit();

    QPointer<ReminderPanel> m_panel;
    QWidget *m_content;
    QLabel *m_title;
    Browser *m_browser;
    QComboBox *m_snoozeList;
    QTimer *m_pop;
    QTimer *m_snooze;
    QString m_message;
    int m_targetHeight = DesignHeight;
    int m_heightTwips = 0;
    int m_snoozeMinutes = 0;
    int m_snoozeCount = 0;
};
