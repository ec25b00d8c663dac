#pragma once

class QTreeWidget;
class QTreeWidgetItem;
class QString;

// Row operations shared by the program's report-style lists (reminders, favourites,
// insert-text palette). Row indexes are 1-based, as the callers count them.
class ListRows final
{
public:
    // Where a row keeps its key (column 0).
    static constexpr int KeyRole = 0x0100; // Qt::UserRole
    // Where a cell keeps its whole text when it shows only the start of a long one.
    static constexpr int FullTextRole = 0x0101;
    // How much of a cell's text the list lays out: a megabyte in one cell would stall it.
    static constexpr int ShownLength = 1000;

    // Sets a cell's text; a long one is shown cut, and kept whole for text().
    static void setText(QTreeWidgetItem *row, int column, const QString &text);
    // The cell's whole text.
    static QString text(const QTreeWidgetItem *row, int column);

    // Moves row `index` one place up (nothing for the first row) and keeps it in view.
    static void MoveRowUp(QTreeWidget *list, int index);
    // Moves row `index` one place down (nothing for the last row) and keeps it in view.
    static void MoveRowDown(QTreeWidget *list, int index);
    // Orders the rows by the day in their first column, earliest first; rows whose first
    // column is not a date go last. Times are not compared.
    static void SortRowsByDate(QTreeWidget *list);

    static QTreeWidgetItem *findKey(QTreeWidget *list, const QString &key);
    static QString keyOf(const QTreeWidgetItem *row);
    // 1-based index of the current row, 0 when none is selected.
    static int selectedIndex(QTreeWidget *list);

private:
    static void moveRow(QTreeWidget *list, int from, int to);
};
