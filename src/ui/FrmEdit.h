#pragma once

#include "ui/ModalWindow.h"

#include <QList>
#include <QPersistentModelIndex>
#include <QPointer>

class QLabel;
class QPushButton;
class QTreeWidget;

// Edits one row of a report-style list in place: one labelled field per column, filled from
// the row and written back on OK. It knows nothing of what the rows stand for; the caller
// reads the row again once EditFlds has returned.
class FrmEdit final : public ModalWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmEdit)

public:
    // Opens the editor for row `rowIndex` (1-based; below 1 shows nothing), modal to
    // `owner`, and returns when it has closed. `multiLineColumn` (1-based) is edited in a
    // multi-line field `multiLineHeight` twips high; a number matching no column means none.
    // True when the row was written back or deleted, false when the editor was cancelled.
    static bool EditFlds(QWidget *owner, QTreeWidget *list, int rowIndex, bool showDelete,
                         int multiLineColumn, int multiLineHeight);

private:
    FrmEdit(QTreeWidget *list, int rowIndex, bool showDelete, int multiLineColumn,
            int multiLineHeight);

    QWidget *AddNewTxt(int column, int multiLineColumn, int height);
    void build(bool showDelete, int multiLineColumn, int multiLineHeight);
    void ok();
    void deleteRow();

    QPointer<QTreeWidget> m_list;
    // Follows the row if rows move or go while the dialog is open.
    QPersistentModelIndex m_row;
    QList<QWidget *> m_fields;
    int m_nextLine = 1;
    int m_nextMulti = 1;
    int m_lineHeight = 0; // of a single-line field
    QPushButton *m_del;
    QPushButton *m_cancel;
    QPushButton *m_ok;
    bool m_changed = false;
};
