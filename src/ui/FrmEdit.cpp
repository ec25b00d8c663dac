#include "ui/FrmEdit.h"

#include "base/Twips.h"
#include "ui/ApplyLanguage.h"
#include "ui/ListRows.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <algorithm>

namespace {

int twipsX(int twips)
{
    return Twips::toPixelsX(twips);
}

int twipsY(int twips)
{
    return Twips::toPixelsY(twips);
}

constexpr int LabelLeft = 120, LabelWidth = 975;
constexpr int FieldLeft = 1200, FieldWidth = 3375, LineHeight = 285, FirstTop = 120;
constexpr int ButtonWidth = 975, ButtonHeight = 345;
constexpr int CancelLeft = 2520, OkLeft = 3600; // Delete at 1440
constexpr int FieldGap = 20, ButtonsBelow = 100, WindowBelow = 550;
constexpr int WindowWidth = FieldLeft + FieldWidth + 240;

QString textOf(const QWidget *field)
{
    if (const auto *line = qobject_cast<const QLineEdit *>(field))
        return line->text();
    if (const auto *multi = qobject_cast<const QPlainTextEdit *>(field))
        return multi->toPlainText();
    return {};
}

} // namespace

FrmEdit::FrmEdit(QTreeWidget *list, int rowIndex, bool showDelete, int multiLineColumn,
                 int multiLineHeight)
    : m_list(list)
    , m_row(list->model()->index(rowIndex - 1, 0))
    , m_del(new QPushButton(QStringLiteral("1"), this))
    , m_cancel(new QPushButton(QStringLiteral("2"), this))
    , m_ok(new QPushButton(QStringLiteral("3"), this))
{
    setObjectName(QStringLiteral("FrmEdit"));
    setWindowTitle(QStringLiteral("0"));
    m_del->setObjectName(QStringLiteral("CmdDel"));
    m_cancel->setObjectName(QStringLiteral("CmdCancel"));
    m_ok->setObjectName(QStringLiteral("CmdOk"));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &FrmEdit::ok);
    connect(m_cancel, &QPushButton::clicked, this, &FrmEdit::finish);
    connect(m_del, &QPushButton::clicked, this, &FrmEdit::deleteRow);
    // Before the fields exist: their labels take the list's headers, not the section.
    ApplyLanguage(QStringLiteral("[Edit]"), this);
    build(showDelete, multiLineColumn, multiLineHeight);
}

bool FrmEdit::EditFlds(QWidget *owner, QTreeWidget *list, int rowIndex, bool showDelete,
                       int multiLineColumn, int multiLineHeight)
{
    if (!list || rowIndex < 1 || rowIndex > list->topLevelItemCount())
        return false;
    FrmEdit dialog(list, rowIndex, showDelete, multiLineColumn, multiLineHeight);
    dialog.ShowModalDlg(owner);
    return dialog.m_changed;
}

QWidget *FrmEdit::AddNewTxt(int column, int multiLineColumn, int height)
{
    QWidget *field = nullptr;
    if (column == multiLineColumn - 1) {
        auto *multi = new QPlainTextEdit(this);
        multi->setObjectName(QStringLiteral("TxtMul%1").arg(m_nextMulti++));
        multi->setTabChangesFocus(true);
        multi->resize(twipsX(FieldWidth), twipsY(height));
        field = multi;
    } else {
        auto *line = new QLineEdit(this);
        line->setObjectName(QStringLiteral("TxtLn%1").arg(m_nextLine++));
        line->resize(twipsX(FieldWidth), m_lineHeight);
        field = line;
    }
    field->move(twipsX(FieldLeft), twipsY(FirstTop));
    field->setVisible(true);
    return field;
}

void FrmEdit::build(bool showDelete, int multiLineColumn, int multiLineHeight)
{
    m_del->setVisible(showDelete);
    m_lineHeight = std::max(twipsY(LineHeight), QLineEdit().sizeHint().height());
    QTreeWidgetItem *row = m_list->topLevelItem(m_row.row());
    const int columns = m_list->columnCount();
    QWidget *previous = nullptr;
    QWidget *tabPrevious = nullptr;
    for (int c = 0; c < columns; ++c) {
        QWidget *field = AddNewTxt(c, multiLineColumn, multiLineHeight);
        m_fields.append(field);
        auto *label = new QLabel(m_list->headerItem()->text(c), this);
        label->setObjectName(QStringLiteral("LblName%1").arg(c));
        label->setTextFormat(Qt::PlainText);
        label->resize(twipsX(LabelWidth), label->sizeHint().height());
        const QString text = ListRows::text(row, c);
        if (auto *line = qobject_cast<QLineEdit *>(field))
            line->setText(text);
        else if (auto *multi = qobject_cast<QPlainTextEdit *>(field))
            multi->setPlainText(text);
        if (previous)
            field->move(field->x(), previous->y() + previous->height() + twipsY(FieldGap));
        // The label lines up with the lower part of its field: centred on its last line.
        const int lastLine = std::min(field->height(), m_lineHeight);
        label->move(twipsX(LabelLeft),
                    field->y() + field->height() - (lastLine + label->height()) / 2);
        label->setVisible(true);
        if (tabPrevious)
            setTabOrder(tabPrevious, field);
        tabPrevious = field;
        previous = field;
    }
    const int lastBottom = previous ? previous->y() + previous->height() : twipsY(FirstTop);
    const int buttonTop = lastBottom + twipsY(ButtonsBelow);
    const int buttonHeight = std::max(twipsY(ButtonHeight), m_ok->sizeHint().height());
    int buttonWidth = twipsX(ButtonWidth);
    for (const QPushButton *button : {m_del, m_cancel, m_ok})
        buttonWidth = std::max(buttonWidth, button->sizeHint().width());
    // Right-aligned under the fields as designed; wider texts push the row to the right
    // instead of off the window's left edge.
    const int gap = twipsX(OkLeft - CancelLeft - ButtonWidth);
    const int okLeft = std::max(twipsX(FieldLeft + FieldWidth) - buttonWidth,
                                twipsX(LabelLeft) + 2 * (buttonWidth + gap));
    m_ok->setGeometry(okLeft, buttonTop, buttonWidth, buttonHeight);
    m_cancel->setGeometry(okLeft - gap - buttonWidth, buttonTop, buttonWidth, buttonHeight);
    m_del->setGeometry(okLeft - 2 * (gap + buttonWidth), buttonTop, buttonWidth, buttonHeight);
    const int width = std::max(twipsX(WindowWidth), m_ok->geometry().right() + twipsX(240));
    setFixedSize(width, buttonTop + buttonHeight + twipsY(WindowBelow) / 2);
    if (!m_fields.isEmpty())
        m_fields.first()->setFocus();
}

void FrmEdit::ok()
{
    if (m_list && m_row.isValid()) {
        QTreeWidgetItem *row = m_list->topLevelItem(m_row.row());
        for (int c = 0; c < m_fields.size() && c < m_list->columnCount(); ++c)
            ListRows::setText(row, c, textOf(m_fields[c]));
        m_list->scrollToItem(row);
        m_changed = true;
    }
    finish();
}

void FrmEdit::deleteRow()
{
    if (m_list && m_row.isValid()) {
        delete m_list->takeTopLevelItem(m_row.row());
        m_changed = true;
    }
    finish();
}
