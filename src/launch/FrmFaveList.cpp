#include "launch/FrmFaveList.h"

#include "launch/InputBox.h"
#include "ui/ApplyLanguage.h"
#include "ui/FrmEdit.h"
#include "ui/ListRows.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString AppTitle = QStringLiteral("::: Quillomi :::");

QPushButton *button(const char *name, const QString &number, QWidget *parent)
{
    auto *b = new QPushButton(number, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

} // namespace

FrmFaveList::FrmFaveList(const QString &objectName, const QString &section, SettingsStore &store,
                         const QString &prefix, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_section(section)
    , m_list(store, prefix)
    , m_lst(new QTreeWidget(this))
    , m_extra(new QWidget(this))
    , m_menu(new QMenu(this))
{
    setObjectName(objectName);
    setWindowTitle(QStringLiteral("0"));
    m_lst->setObjectName(QStringLiteral("Lst"));
    m_lst->setHeaderLabels({QStringLiteral("8"), QStringLiteral("9")});
    m_lst->setRootIsDecorated(false);
    m_lst->setContextMenuPolicy(Qt::CustomContextMenu);
    m_lst->header()->resizeSection(0, 160);
    m_menu->setObjectName(QStringLiteral("MnuLst"));
    const QList<std::pair<const char *, void (FrmFaveList::*)()>> menuItems = {
            {"MnuLstAdd", &FrmFaveList::cmdAdd},
            {"MnuLstDel", &FrmFaveList::cmdDel},
            {"MnuLstEdit", &FrmFaveList::cmdEdit}};
    int number = 10;
    for (const auto &[name, command] : menuItems) {
        QAction *action = m_menu->addAction(QString::number(number++));
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, command);
    }
    connect(m_lst, &QTreeWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { m_menu->popup(m_lst->viewport()->mapToGlobal(at)); });
    connect(m_lst, &QTreeWidget::itemDoubleClicked, this, &FrmFaveList::cmdEdit);

    auto *side = new QVBoxLayout;
    const QList<std::tuple<const char *, int, void (FrmFaveList::*)()>> buttons = {
            {"CmdAdd", 1, &FrmFaveList::cmdAdd},
            {"CmdDel", 2, &FrmFaveList::cmdDel},
            {"CmdEdit", 3, &FrmFaveList::cmdEdit},
            {"CmdUp", 4, &FrmFaveList::cmdUp},
            {"CmdDn", 5, &FrmFaveList::cmdDn}};
    for (const auto &[name, caption, command] : buttons) {
        QPushButton *b = button(name, QString::number(caption), this);
        connect(b, &QPushButton::clicked, this, command);
        side->addWidget(b);
    }
    side->addStretch();
    auto *top = new QHBoxLayout;
    top->addWidget(m_lst, 1);
    top->addLayout(side);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_extra);
    bottom->addStretch();
    QPushButton *ok = button("CmdOk", QStringLiteral("6"), this);
    QPushButton *cancel = button("CmdCancel", QStringLiteral("7"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &FrmFaveList::cmdOk);
    connect(cancel, &QPushButton::clicked, this, &FrmFaveList::cmdCancel);
    bottom->addWidget(ok);
    bottom->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);
    resize(480, 320);
}

void FrmFaveList::GetOptions()
{
    ApplyLanguage(m_section, this);
    fill(-1);
}

FrmFaveList::~FrmFaveList() = default;

void FrmFaveList::fill(int current)
{
    m_lst->clear();
    for (const FavouriteEntry &entry : m_list.entries()) {
        auto *row = new QTreeWidgetItem(m_lst);
        ListRows::setText(row, 0, entry.name);
        ListRows::setText(row, 1, entry.target);
    }
    if (current >= 0 && current < m_lst->topLevelItemCount())
        m_lst->setCurrentItem(m_lst->topLevelItem(current));
}

int FrmFaveList::currentRow() const
{
    return ListRows::selectedIndex(m_lst) - 1;
}

void FrmFaveList::cmdAdd()
{
    const QString target = chooseTarget();
    if (target.isEmpty())
        return;
    const QString name = InputBox(this, QStringLiteral("Enter display name"), AppTitle);
    if (m_list.add(target, name))
        fill(int(m_list.entries().size()) - 1);
}

void FrmFaveList::cmdDel()
{
    const int row = currentRow();
    if (m_list.remove(row))
        fill(std::min(row, int(m_list.entries().size()) - 1));
}

void FrmFaveList::cmdEdit()
{
    const int row = currentRow();
    if (row < 0)
        return;
    const int before = m_lst->topLevelItemCount();
    if (!FrmEdit::EditFlds(this, m_lst, row + 1, true, 0, 0))
        return;
    if (m_lst->topLevelItemCount() < before) {
        m_list.remove(row);
    } else {
        const QTreeWidgetItem *item = m_lst->topLevelItem(row);
        m_list.edit(row, ListRows::text(item, 0), ListRows::text(item, 1));
    }
    fill(row);
}

void FrmFaveList::cmdUp()
{
    fill(m_list.moveUp(currentRow()));
}

void FrmFaveList::cmdDn()
{
    fill(m_list.moveDown(currentRow()));
}

void FrmFaveList::cmdOk()
{
    m_list.save();
    close();
}

void FrmFaveList::cmdCancel()
{
    close();
}

void FrmFaveList::addWithoutShowing()
{
    cmdAdd();
    cmdOk();
}
