#include "reminders/FrmRecurrence.h"

#include "base/DateTimeText.h"
#include "reminders/ClsAlarm.h"
#include "ui/ApplyLanguage.h"
#include "ui/WindowHelpers.h"

#include <QButtonGroup>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

namespace {

QLabel *label(const QString &number, const char *name, QWidget *parent)
{
    auto *l = new QLabel(number, parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

QLineEdit *digitsOnly(const char *name, QWidget *parent)
{
    auto *edit = new QLineEdit(QStringLiteral("1"), parent);
    edit->setObjectName(QLatin1String(name));
    SetDigitsOnly(edit);
    // Nine digits always fit the stored 32-bit number.
    edit->setMaxLength(9);
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 16);
    return edit;
}

void markInvalid(QLineEdit *edit, bool invalid)
{
    edit->setProperty("invalid", invalid);
    edit->setStyleSheet(invalid ? QStringLiteral("QLineEdit { border: 2px solid #c00000; }")
                                : QString());
}

} // namespace

FrmRecurrence::FrmRecurrence(QWidget *parent)
    : ModalWindow(parent)
    , m_kindGroup(new QButtonGroup(this))
    , m_endGroup(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("FrmRecurrence"));
    setWindowTitle(QStringLiteral("0"));
    setWindowIcon(QIcon::fromTheme(QStringLiteral("view-refresh"),
                                   style()->standardIcon(QStyle::SP_BrowserReload)));

    auto *kindFrame = new QGroupBox(QStringLiteral("1"), this);
    kindFrame->setObjectName(QStringLiteral("FrameRecurrence"));
    auto *kindLayout = new QGridLayout(kindFrame);
    auto *kindButtons = new QVBoxLayout;
    for (int k = 0; k < 3; ++k) {
        m_kind[k] = new QRadioButton(QString::number(2 + k), kindFrame);
        m_kind[k]->setObjectName(QStringLiteral("OptRecur%1").arg(k));
        m_kindGroup->addButton(m_kind[k], k);
        kindButtons->addWidget(m_kind[k]);
    }
    kindButtons->addStretch();
    kindLayout->addLayout(kindButtons, 0, 0);

    // Panel 0: every n weeks on the chosen days.
    m_details[0] = new QFrame(kindFrame);
    auto *weekly = new QGridLayout(m_details[0]);
    weekly->setContentsMargins(0, 0, 0, 0);
    m_weeks = digitsOnly("TxtRecurWeek", m_details[0]);
    m_days = new QListWidget(m_details[0]);
    m_days->setObjectName(QStringLiteral("LstWeek"));
    QLocale locale = QLocale::system();
    for (int day = 1; day <= 7; ++day) {
        // Day 1 is Sunday; Qt counts Monday 1 .. Sunday 7.
        auto *item = new QListWidgetItem(locale.dayName(day == 1 ? 7 : day - 1), m_days);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Unchecked);
    }
    m_days->setFixedHeight(m_days->sizeHintForRow(0) * 7 + 2 * m_days->frameWidth() + 2);
    weekly->addWidget(label(QStringLiteral("5"), "Label1", m_details[0]), 0, 0);
    weekly->addWidget(m_weeks, 0, 1);
    weekly->addWidget(label(QStringLiteral("2"), "Label3", m_details[0]), 0, 2);
    weekly->addWidget(m_days, 1, 0, 1, 3);
    weekly->setColumnStretch(2, 1);

    m_details[1] = new QFrame(kindFrame);
    m_monthly = new QLabel(m_details[1]);
    m_monthly->setObjectName(QStringLiteral("LblMon"));
    (new QVBoxLayout(m_details[1]))->addWidget(m_monthly, 0, Qt::AlignTop);
    m_details[2] = new QFrame(kindFrame);
    m_yearly = new QLabel(m_details[2]);
    m_yearly->setObjectName(QStringLiteral("LblYear"));
    (new QVBoxLayout(m_details[2]))->addWidget(m_yearly, 0, Qt::AlignTop);
    for (int k = 0; k < 3; ++k) {
        m_details[k]->setObjectName(QStringLiteral("FrameDetails%1").arg(k));
        m_details[k]->setFrameShape(QFrame::NoFrame);
        kindLayout->addWidget(m_details[k], 0, 1);
        m_details[k]->setVisible(k == 0);
    }
    kindLayout->setColumnStretch(1, 1);

    auto *endFrame = new QGroupBox(QStringLiteral("6"), this);
    endFrame->setObjectName(QStringLiteral("FrameEnd"));
    auto *endLayout = new QGridLayout(endFrame);
    const int endNumbers[3] = {7, 8, 10};
    for (int e = 0; e < 3; ++e) {
        m_end[e] = new QRadioButton(QString::number(endNumbers[e]), endFrame);
        m_end[e]->setObjectName(QStringLiteral("OptRecurEnd%1").arg(e));
        m_endGroup->addButton(m_end[e], e);
        endLayout->addWidget(m_end[e], e, 0);
    }
    m_endNum = digitsOnly("TxtRecurEndNum", endFrame);
    m_endDate = new QDateEdit(endFrame);
    m_endDate->setObjectName(QStringLiteral("dtRecurEndDate"));
    m_endDate->setCalendarPopup(true);
    m_endDate->setDisplayFormat(DateTimeText::displayDateFormat(QLocale::system()));
    endLayout->addWidget(m_endNum, 1, 1);
    endLayout->addWidget(label(QStringLiteral("9"), "Label2", endFrame), 1, 2);
    endLayout->addWidget(m_endDate, 2, 1, 1, 2);
    endLayout->setColumnStretch(3, 1);

    m_ok = new QPushButton(QStringLiteral("11"), this);
    m_ok->setObjectName(QStringLiteral("CmdOk"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("12"), this);
    m_cancel->setObjectName(QStringLiteral("CmdCancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(kindFrame);
    layout->addWidget(endFrame);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_kindGroup, &QButtonGroup::idClicked, this, &FrmRecurrence::showDetails);
    connect(m_ok, &QPushButton::clicked, this, &FrmRecurrence::ok);
    connect(m_cancel, &QPushButton::clicked, this, &FrmRecurrence::finish);
    // Once, when the dialog is made: applied again, the texts would read as design numbers.
    ApplyLanguage(QStringLiteral("[Recurrence]"), this);
    for (QLineEdit *edit : {m_weeks, m_endNum})
        connect(edit, &QLineEdit::textEdited, this, [edit] { markInvalid(edit, false); });
}

void FrmRecurrence::showDetails(int kind)
{
    for (int k = 0; k < 3; ++k)
        m_details[k]->setVisible(k == kind);
}

void FrmRecurrence::ShowModalDlg(QWidget *owner)
{
    if (!record || isOpen())
        return;
    load();
    ModalWindow::ShowModalDlg(owner);
}

void FrmRecurrence::load()
{
    const ClsAlarm &r = *record;
    // No kind chosen shows the weekly panel.
    m_kindGroup->setExclusive(false);
    for (QRadioButton *b : m_kind)
        b->setChecked(false);
    m_kindGroup->setExclusive(true);
    const int kind = r.MyRecurrence >= 1 && r.MyRecurrence <= 3 ? r.MyRecurrence - 1 : -1;
    if (kind >= 0)
        m_kind[kind]->setChecked(true);
    showDetails(std::max(kind, 0));

    for (int day = 1; day <= 7; ++day)
        m_days->item(day - 1)->setCheckState(r.MyRecurrenceWeekDays[day] ? Qt::Checked
                                                                         : Qt::Unchecked);
    m_weeks->setText(QString::number(r.MyRecurrenceWeekNum));

    m_endGroup->setExclusive(false);
    for (QRadioButton *b : m_end)
        b->setChecked(false);
    m_endGroup->setExclusive(true);
    if (r.MyRecurrenceEnd >= 0 && r.MyRecurrenceEnd <= 2)
        m_end[r.MyRecurrenceEnd]->setChecked(true);
    m_endNum->setText(QString::number(r.MyRecurrenceEndNum));
    m_endDate->setDate(r.MyRecurrenceEndDate);
    markInvalid(m_weeks, false);
    markInvalid(m_endNum, false);

    const QLocale locale = QLocale::system();
    m_monthly->setText(QStringLiteral("On ") + QString::number(r.MyDate.day()) +
                       QStringLiteral(" every month."));
    m_yearly->setText(QStringLiteral("On ") + QString::number(r.MyDate.day()) +
                      QStringLiteral(" - ") + locale.monthName(r.MyDate.month()) +
                      QStringLiteral(" every year."));
}

bool FrmRecurrence::weeksApply() const
{
    return m_kindGroup->checkedId() <= 0;
}

bool FrmRecurrence::validate()
{
    // An empty count cannot be stored, and a week step of 0 would never repeat: keep the
    // dialog open with the field marked instead of storing nonsense. The week count only
    // counts while its panel is the one shown.
    bool weeksOk = false;
    const int weeks = m_weeks->text().toInt(&weeksOk);
    const bool weeksBad = weeksApply() && (!weeksOk || weeks < 1);
    bool endOk = false;
    m_endNum->text().toInt(&endOk);
    markInvalid(m_weeks, weeksBad);
    markInvalid(m_endNum, !endOk);
    if (weeksBad)
        m_weeks->setFocus();
    else if (!endOk)
        m_endNum->setFocus();
    return !weeksBad && endOk;
}

void FrmRecurrence::ok()
{
    if (!record) {
        finish();
        return;
    }
    if (!validate())
        return;
    ClsAlarm &r = *record;
    if (m_kindGroup->checkedId() >= 0)
        r.MyRecurrence = m_kindGroup->checkedId() + 1;
    ClsAlarm::WeekDays days{};
    for (int day = 1; day <= 7; ++day)
        days[day] = m_days->item(day - 1)->checkState() == Qt::Checked;
    r.MyRecurrenceWeekDays = days;
    bool weeksOk = false;
    const int weeks = m_weeks->text().toInt(&weeksOk);
    if (weeksOk && weeks >= 1)
        r.MyRecurrenceWeekNum = weeks;
    if (m_endGroup->checkedId() >= 0)
        r.MyRecurrenceEnd = m_endGroup->checkedId();
    r.MyRecurrenceEndNum = m_endNum->text().toInt();
    r.MyRecurrenceEndDate = m_endDate->date();
    finish();
}
