#include "reminders/FrmAlarm.h"

#include "base/AppTitle.h"
#include "base/Language.h"
#include "base/Twips.h"
#include "platform/X11WindowHints.h"
#include "platform/browser/LightBrowser.h"
#include "reminders/AlarmLinks.h"
#include "reminders/ReminderPanel.h"
#include "ui/ApplyLanguage.h"
#include "ui/WindowHelpers.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <algorithm>

using namespace std::chrono_literals;

namespace {

QList<QPointer<FrmAlarm>> &registry()
{
    static QList<QPointer<FrmAlarm>> open;
    return open;
}

struct SnoozeEntry
{
    const char *text;
    int minutes;
};

// Fixed texts: the language file does not translate them.
constexpr SnoozeEntry SnoozeEntries[] = {{"5 Min", 5},   {"10 Min", 10},  {"15 Min", 15},
                                         {"20 Min", 20}, {"25 Mn", 25},   {"30 Mn", 30},
                                         {"1 Hour", 60}, {"8 Hours", 480}};

} // namespace

FrmAlarm::FrmAlarm(ReminderPanel *panel)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint)
    , m_panel(panel)
    , m_content(new QWidget(this))
    , m_title(new QLabel(m_content))
    , m_browser(new LightBrowser(m_content))
    , m_snoozeList(new QComboBox(m_content))
    , m_pop(new QTimer(this))
    , m_snooze(new QTimer(this))
{
    setObjectName(QStringLiteral("FrmAlarm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(AppTitle());
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);

    m_title->setObjectName(QStringLiteral("LblTitle"));
    m_title->setTextFormat(Qt::PlainText); // its words come from the language file
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPointSizeF(8.25);
    titleFont.setBold(true);
    m_title->setFont(titleFont);
    QPalette titlePalette = m_title->palette();
    titlePalette.setColor(QPalette::WindowText, QColor(128, 0, 0));
    m_title->setPalette(titlePalette);
    m_title->setText(QStringLiteral("0"));

    auto *picture = new QLabel(m_content);
    picture->setObjectName(QStringLiteral("ImgReminder"));
    picture->setPixmap(QIcon::fromTheme(QStringLiteral("dialog-information"),
                                        style()->standardIcon(QStyle::SP_MessageBoxInformation))
                               .pixmap(QSize(32, 32), picture->devicePixelRatioF()));
    picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    m_browser->setObjectName(QStringLiteral("WebBrwAlarm"));

    m_snoozeList->setObjectName(QStringLiteral("CboSnooze"));
    for (const SnoozeEntry &entry : SnoozeEntries)
        m_snoozeList->addItem(QLatin1String(entry.text), entry.minutes);
    m_snoozeList->setCurrentIndex(0);
    m_snoozeList->setAccessibleName(QStringLiteral("Snooze for"));
    auto *snooze = new QPushButton(QStringLiteral("1"), m_content);
    snooze->setObjectName(QStringLiteral("CmdSnooze"));
    auto *edit = new QPushButton(QStringLiteral("2"), m_content);
    edit->setObjectName(QStringLiteral("CmdEdit"));
    auto *ok = new QPushButton(QStringLiteral("3"), m_content);
    ok->setObjectName(QStringLiteral("CmdOk"));

    auto *layout = new QGridLayout(m_content);
    layout->setContentsMargins(8, 6, 8, 8);
    layout->addWidget(m_title, 0, 0, 1, 2);
    layout->addWidget(picture, 1, 0);
    layout->addWidget(m_browser, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_snoozeList);
    buttons->addWidget(snooze);
    buttons->addStretch();
    buttons->addWidget(edit);
    buttons->addWidget(ok);
    layout->addLayout(buttons, 2, 0, 1, 2);
    layout->setRowStretch(1, 1);
    layout->setColumnStretch(1, 1);

    const QSize design(Twips::toPixelsX(DesignWidth), Twips::toPixelsY(DesignHeight));
    m_content->setGeometry(QRect(QPoint(0, 0), design.expandedTo(m_content->minimumSizeHint())));
    m_targetHeight = Twips::fromPixelsY(m_content->height());

    m_pop->setObjectName(QStringLiteral("TmrPop"));
    m_pop->setInterval(10ms);
    m_snooze->setObjectName(QStringLiteral("TmrSnooze"));
    m_snooze->setInterval(1min);
    connect(m_pop, &QTimer::timeout, this, &FrmAlarm::popTick);
    connect(m_snooze, &QTimer::timeout, this, &FrmAlarm::snoozeTick);
    connect(snooze, &QPushButton::clicked, this, &FrmAlarm::snooze);
    connect(edit, &QPushButton::clicked, this, &FrmAlarm::edit);
    connect(ok, &QPushButton::clicked, this, &FrmAlarm::ok);
    connect(m_browser, &Browser::navigationCompleted, this, &FrmAlarm::pageLoaded);
    ApplyLanguage(QStringLiteral("[Alarm]"), this);
}

FrmAlarm::~FrmAlarm()
{
    registry().removeAll(this);
}

QList<FrmAlarm *> FrmAlarm::openPopups()
{
    QList<FrmAlarm *> open;
    for (const auto &popup : std::as_const(registry())) {
        if (popup)
            open << popup.data();
    }
    return open;
}

FrmAlarm *FrmAlarm::findOpen(const QString &key)
{
    const auto open = openPopups();
    for (auto it = open.crbegin(); it != open.crend(); ++it) {
        if ((*it)->myKey == key)
            return *it;
    }
    return nullptr;
}

int FrmAlarm::GetAlarmTopWnd(const QRect &screen, const QRect &available)
{
    const auto open = openPopups();
    if (!open.isEmpty())
        return open.last()->new_y + StackStep;
    // The task bar is the strip below the available area, whatever panels or docks the
    // desktop keeps along the other edges.
    const int taskBar = screen.bottom() - available.bottom();
    return taskBar > 0 ? Twips::fromPixelsY(taskBar) : 0;
}

bool FrmAlarm::isSnoozed() const
{
    return m_snooze->isActive();
}

void FrmAlarm::ShowAlarm(const QString &text)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    new_y = screen ? GetAlarmTopWnd(screen->geometry(), screen->availableGeometry()) : 0;
    // However many are open, a new one stays on the screen.
    if (screen) {
        const int highest = Twips::fromPixelsY(screen->geometry().height()) - m_targetHeight;
        new_y = std::clamp(new_y, 0, std::max(0, highest));
    }
    registry().append(this);
    m_message = text;
    m_browser->navigate(QUrl(QStringLiteral("about:blank")));
}

void FrmAlarm::pageLoaded()
{
    // The linked page already holds the message escaped as the browser shows plain text.
    // The page shows the start of a very long message: laying out a megabyte would freeze
    // the program for minutes. The reminder itself keeps every word.
    QString shown = m_message;
    if (shown.size() > ShownLength) {
        shown.truncate(ShownLength);
        if (shown.back().isHighSurrogate())
            shown.chop(1);
        shown += QChar(0x2026);
    }
    m_browser->setBodyInnerHtml(AlarmLinks::linkedHtml(shown));
    m_title->setText(AppTitle() + u' ' + GetLangPlainText(QStringLiteral("[Alarm]"), 0) + u':');
    SetTopmost(this, true);
    slideIn();
}

void FrmAlarm::placeAt(int heightTwips)
{
    m_heightTwips = heightTwips;
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 800, 800);
    const int width = m_content->width();
    const int height = std::max(1, Twips::toPixelsY(heightTwips));
    const int left = area.right() + 1 - width - Twips::toPixelsX(RightMargin);
    const int top = area.bottom() + 1 - height - Twips::toPixelsY(new_y);
    setGeometry(left, top, width, height);
}

void FrmAlarm::slideIn()
{
    placeAt(0);
    show();
    raise();
    // A notice, not a task: it stays off the task bar.
    X11WindowHints::skipTaskbar(this);
    m_pop->start();
}

void FrmAlarm::popTick()
{
    if (m_heightTwips < m_targetHeight) {
        placeAt(std::min(m_heightTwips + SlideStep, m_targetHeight));
        return;
    }
    placeAt(m_targetHeight);
    m_pop->stop();
}

void FrmAlarm::snooze()
{
    m_snoozeCount = 0;
    m_snoozeMinutes = m_snoozeList->currentData().toInt();
    m_pop->stop();
    m_snooze->start();
    hide();
}

void FrmAlarm::snoozeTick()
{
    ++m_snoozeCount;
    if (m_snoozeCount < m_snoozeMinutes)
        return;
    m_snooze->stop();
    m_snoozeCount = 0;
    // Back on top of the other pop-ups, and said once more: a silent pop-up under another
    // one is missed.
    slideIn();
    if (m_panel)
        m_panel->remindAgain(myKey);
}

void FrmAlarm::ok()
{
    if (m_panel)
        m_panel->DismissAlarm(myKey);
    close();
}

void FrmAlarm::edit()
{
    hide();
    m_pop->stop();
    // Stays open (hidden) while the editor waits in its own loop, so the reminder's next
    // tick in its minute finds it and opens no second pop-up.
    const QPointer<FrmAlarm> self = this;
    const bool changed = m_panel && m_panel->editReminder(myKey);
    if (!self)
        return;
    // Cancelled: the reminder is still waiting for an answer, so its pop-up comes back.
    if (changed)
        close();
    else
        slideIn();
}

void FrmAlarm::closeEvent(QCloseEvent *event)
{
    m_snooze->stop();
    m_pop->stop();
    registry().removeAll(this);
    event->accept();
}
