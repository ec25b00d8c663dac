#include "ui/ListRows.h"

#include "base/DateTimeText.h"

#include <QTreeWidget>
#include <algorithm>

static_assert(ListRows::KeyRole == Qt::UserRole);

void ListRows::moveRow(QTreeWidget *list, int from, int to)
{
    const bool wasCurrent = list->currentItem() == list->topLevelItem(from);
    QTreeWidgetItem *row = list->takeTopLevelItem(from);
    if (!row)
        return;
    list->insertTopLevelItem(to, row);
    if (wasCurrent)
        list->setCurrentItem(row);
    list->scrollToItem(row);
}

void ListRows::MoveRowUp(QTreeWidget *list, int index)
{
    if (!list || index < 2 || index > list->topLevelItemCount())
        return;
    moveRow(list, index - 1, index - 2);
}

void ListRows::MoveRowDown(QTreeWidget *list, int index)
{
    if (!list || index < 1 || index >= list->topLevelItemCount())
        return;
    moveRow(list, index - 1, index);
}

void ListRows::SortRowsByDate(QTreeWidget *list)
{
    if (!list)
        return;
    QTreeWidgetItem *current = list->currentItem();
    QList<std::pair<QDate, QTreeWidgetItem *>> rows;
    while (list->topLevelItemCount() > 0) {
        QTreeWidgetItem *row = list->takeTopLevelItem(0);
        rows.append({DateTimeText::parseDate(row->text(0)), row});
    }
    std::stable_sort(rows.begin(), rows.end(), [](const auto &a, const auto &b) {
        if (a.first.isValid() != b.first.isValid())
            return a.first.isValid();
        return a.first < b.first;
    });
    for (const auto &row : std::as_const(rows))
        list->addTopLevelItem(row.second);
    if (current)
        list->setCurrentItem(current);
}

QTreeWidgetItem *ListRows::findKey(QTreeWidget *list, const QString &key)
{
    if (!list)
        return nullptr;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (keyOf(list->topLevelItem(i)) == key)
            return list->topLevelItem(i);
    }
    return nullptr;
}

void ListRows::setText(QTreeWidgetItem *row, int column, const QString &text)
{
    if (text.size() <= ShownLength) {
        row->setText(column, text);
        row->setData(column, FullTextRole, QVariant());
        return;
    }
    row->setText(column, text.left(ShownLength) + QChar(0x2026));
    row->setData(column, FullTextRole, text);
}

QString ListRows::text(const QTreeWidgetItem *row, int column)
{
    const QVariant full = row->data(column, FullTextRole);
    return full.isValid() ? full.toString() : row->text(column);
}

QString ListRows::keyOf(const QTreeWidgetItem *row)
{
    return row ? row->data(0, KeyRole).toString() : QString();
}

int ListRows::selectedIndex(QTreeWidget *list)
{
    if (!list || !list->currentItem() || !list->currentItem()->isSelected())
        return 0;
    return list->indexOfTopLevelItem(list->currentItem()) + 1;
}
