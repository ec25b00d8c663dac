#pragma once

#include "launch/FrmFaveList.h"

// The favourite folders: a new entry's folder comes from the folder picker.
class FrmFaveDir final : public FrmFaveList
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmFaveDir)

public:
    explicit FrmFaveDir(SettingsStore &store, QWidget *parent = nullptr);

protected:
    QString chooseTarget() override;
};
