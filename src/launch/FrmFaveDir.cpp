#include "launch/FrmFaveDir.h"

#include "ui/WindowHelpers.h"

FrmFaveDir::FrmFaveDir(SettingsStore &store, QWidget *parent)
    : FrmFaveList(QStringLiteral("FrmFaveDir"), QStringLiteral("[Folder list]"), store,
                  Favourites::Folders, parent)
{
    GetOptions();
}

QString FrmFaveDir::chooseTarget()
{
    return BrowseForFolder(this);
}
