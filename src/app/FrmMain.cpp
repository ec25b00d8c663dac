#include "app/FrmMain.h"

#include "base/Twips.h"
#include "character/BehaviourTimers.h"
#include "reminders/ReminderPanel.h"
#include "ui/ApplyLanguage.h"

#include <QCalendarWidget>
#include <QCloseEvent>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTimeEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// Space below the list frame and right of the calendar, in twips.
constexpr int BottomMarginTwips = 1000;
constexpr int RightMarginTwips = 200;
// How far above the screen's middle the window opens, in twips.
constexpr int RaiseTwips = 200;

} // namespace

FrmMain::FrmMain(AlarmStore &store, ReminderCharacter &character, QWidget *parent)
    : QWidget(parent)
    , m_panel(new ReminderPanel(store, character, this))
    , m_behaviour(new BehaviourTimers(this))
{
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(QStringLiteral("0"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_panel);
}

FrmMain::~FrmMain() = default;

QStringList FrmMain::timerNames()
{
    return {QStringLiteral("TmrAlarm"), QStringLiteral("TmrDueCheck"), QStringLiteral("TmrFollow"),
            QStringLiteral("TmrHide"),  QStringLiteral("TmrMoveScr"),  QStringLiteral("TmrRead"),
            QStringLiteral("TmrStop"),  QStringLiteral("TmrIdle")};
}

QTimer *FrmMain::timer(const QString &name) const
{
    if (QTimer *own = m_panel->findChild<QTimer *>(name, Qt::FindDirectChildrenOnly))
        return own;
    return m_behaviour->findChild<QTimer *>(name, Qt::FindDirectChildrenOnly);
}

void FrmMain::startTimers()
{
    m_panel->startTimers();
    m_behaviour->start();
}

void FrmMain::stopTimers()
{
    m_panel->stopTimers();
    m_behaviour->stopAll();
}

void FrmMain::prepareEntryFields()
{
    m_panel->resetEntryFields();
    const auto *date = m_panel->findChild<QCalendarWidget *>(QStringLiteral("AlarmDate"));
    if (!date)
        return;
    const int width = date->sizeHint().width();
    for (const char *name : {"AlarmTime", "AlarmMsg", "AlarmDateSub", "AlarmSubject"}) {
        if (auto *field = m_panel->findChild<QWidget *>(QString::fromLatin1(name)))
            field->setMinimumWidth(width);
    }
}

void FrmMain::applyGeometry()
{
    // Centred (a little above the middle) with the size the window has before it is
    // fitted, then fitted to the list frame and the calendar.
    const QScreen *screen = this->screen();
    if (!screen)
        return;
    layout()->activate();
    const QSize before = size().expandedTo(minimumSizeHint());
    const QRect area = screen->geometry();
    const int leftTwips = Twips::fromPixelsX(area.width(), screen) / 2 -
                          Twips::fromPixelsX(before.width(), screen) / 2;
    const int topTwips = Twips::fromPixelsY(area.height(), screen) / 2 -
                         Twips::fromPixelsY(before.height(), screen) / 2 - RaiseTwips;

    const auto *frame = m_panel->findChild<QGroupBox *>(QStringLiteral("FrameLst"));
    const auto *date = m_panel->findChild<QCalendarWidget *>(QStringLiteral("AlarmDate"));
    QSize fitted = before;
    if (frame && date) {
        const QRect frameRect(frame->mapTo(this, QPoint()), frame->size());
        const QRect dateRect(date->mapTo(this, QPoint()), date->size());
        fitted.setHeight(Twips::toPixelsY(
                Twips::fromPixelsY(frameRect.bottom() + 1, screen) + BottomMarginTwips, screen));
        fitted.setWidth(Twips::toPixelsX(
                Twips::fromPixelsX(dateRect.right() + 1, screen) + RightMarginTwips, screen));
    }
    // Never smaller than the controls need: a large font or scale must not cut them off.
    fitted = fitted.expandedTo(minimumSizeHint());
    QPoint topLeft = area.topLeft() + QPoint(Twips::toPixelsX(leftTwips, screen),
                                             Twips::toPixelsY(topTwips, screen));
    topLeft.setX(qMax(area.left(), topLeft.x()));
    topLeft.setY(qMax(area.top(), topLeft.y()));
    move(topLeft);
    resize(fitted);
}

void FrmMain::applyLanguage()
{
    ApplyLanguage(QStringLiteral("[Reminder]"), this);
}

void FrmMain::showMain()
{
    showNormal();
    raise();
    activateWindow();
}

void FrmMain::closeEvent(QCloseEvent *event)
{
    if (m_closable) {
        event->accept();
        return;
    }
    event->ignore();
    hide();
    emit hidInsteadOfClosing();
}
