#pragma once

#include "launch/FavouriteListEdit.h"

#include <QWidget>

class QMenu;
class QPushButton;
class QTreeWidget;

// A favourites list window: the list, its commands and OK/Cancel. What a new entry's
// target is, is asked by the window of each list (chooseTarget).
class FrmFaveList : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmFaveList)

public:
    ~FrmFaveList() override;

    // Adds one entry through the prompts and saves, without showing the window.
    void addWithoutShowing();

    void cmdAdd();
    void cmdDel();
    void cmdEdit();
    void cmdUp();
    void cmdDn();
    void cmdOk();
    void cmdCancel();

protected:
    // `section` is the language section, `prefix` the list's store prefix.
    FrmFaveList(const QString &objectName, const QString &section, SettingsStore &store,
                const QString &prefix, QWidget *parent);
    // The new entry's target; empty when the user gave none.
    virtual QString chooseTarget() = 0;
    // Room for the list's own controls beside OK and Cancel.
    QWidget *extraArea() const { return m_extra; }
    // Gives the window its language texts once every control is there (each list window
    // calls it at the end of its constructor).
    void GetOptions();

private:
    void fill(int current);
    int currentRow() const;

    QString m_section;
    FavouriteListEdit m_list;
    QTreeWidget *m_lst;
    QWidget *m_extra;
    QMenu *m_menu;
};
