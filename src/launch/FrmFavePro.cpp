#include "launch/FrmFavePro.h"

#include "launch/FrmFaveProOpt.h"

FrmFavePro::FrmFavePro(SettingsStore &store, QWidget *parent)
    : FrmFaveList(QStringLiteral("FrmFavePro"), QStringLiteral("[Program list]"), store,
                  Favourites::Programs, parent)
{
    GetOptions();
}

QString FrmFavePro::chooseTarget()
{
    FrmFaveProOpt dialog;
    dialog.ShowModalDlg(this);
    return dialog.SelectedTarget;
}
