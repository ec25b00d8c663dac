#include "launch/FrmWebSearch.h"

#include "launch/Launcher.h"
#include "launch/WebSearch.h"
#include "ui/ApplyLanguage.h"
#include "ui/WindowHelpers.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

FrmWebSearch::FrmWebSearch(WebSearchParts parts, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_parts(std::move(parts))
    , m_query(new QLineEdit(this))
{
    setObjectName(QStringLiteral("FrmWebSearch"));
    setWindowTitle(QStringLiteral("0"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto *label = new QLabel(QStringLiteral("3"), this);
    label->setObjectName(QStringLiteral("LblSearch"));
    m_query->setObjectName(QStringLiteral("TxtSearch"));

    auto *frame = new QGroupBox(QStringLiteral("5"), this);
    frame->setObjectName(QStringLiteral("FraEngines"));
    auto *boxes = new QGridLayout(frame);
    const QList<SearchEngine> &engines = WebSearch::engines();
    for (int i = 0; i < engines.size(); ++i) {
        auto *box = new QCheckBox(engines.at(i).caption, frame);
        box->setObjectName(QStringLiteral("ChkSearch%1").arg(i));
        box->setProperty("engineKey", engines.at(i).key);
        connect(box, &QCheckBox::clicked, this, [this, i](bool ticked) {
            if (ticked && m_parts.searchEngine)
                *m_parts.searchEngine = i;
        });
        boxes->addWidget(box, i / 2, i % 2);
        m_engines << box;
    }
    if (m_parts.searchEngine && *m_parts.searchEngine >= 0 &&
        *m_parts.searchEngine < m_engines.size())
        m_engines.at(*m_parts.searchEngine)->setChecked(true);

    auto *pin = new QCheckBox(QStringLiteral("4"), this);
    pin->setObjectName(QStringLiteral("ChkPin"));
    pin->setIcon(QIcon::fromTheme(QStringLiteral("window-pin"),
                                  style()->standardIcon(QStyle::SP_TitleBarShadeButton)));
    connect(pin, &QCheckBox::toggled, this, [this](bool on) { SetTopmost(this, on); });

    auto *search = new QPushButton(QStringLiteral("1"), this);
    search->setObjectName(QStringLiteral("CmdSearch"));
    search->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("2"), this);
    cancel->setObjectName(QStringLiteral("CmdCancel"));
    connect(search, &QPushButton::clicked, this, &FrmWebSearch::cmdSearch);
    connect(m_query, &QLineEdit::returnPressed, this, &FrmWebSearch::cmdSearch);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);

    auto *layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0);
    layout->addWidget(m_query, 0, 1, 1, 2);
    layout->addWidget(frame, 1, 0, 1, 3);
    layout->addWidget(pin, 2, 0);
    layout->addWidget(search, 2, 1);
    layout->addWidget(cancel, 2, 2);

    ApplyLanguage(QStringLiteral("[Search Web]"), this);
}

FrmWebSearch::~FrmWebSearch() = default;

void FrmWebSearch::StartSearch()
{
    QList<int> ticked;
    for (int i = 0; i < m_engines.size(); ++i) {
        if (m_engines.at(i)->isChecked())
            ticked << i;
    }
    if (!m_parts.launcher)
        return;
    for (const QString &address :
         WebSearch::addresses(m_parts.locationFile, ticked, m_query->text()))
        m_parts.launcher->OpenTarget(address, false, Launcher::PageMode);
}

void FrmWebSearch::cmdSearch()
{
    if (m_query->text().trimmed().isEmpty())
        return;
    StartSearch();
    if (m_parts.afterSearch)
        m_parts.afterSearch();
    close();
}
