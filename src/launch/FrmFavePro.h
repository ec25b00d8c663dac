#pragma once

#include "launch/FrmFaveList.h"

// The favourite programs: a new entry's program comes from the add-program dialog.
class FrmFavePro final : public FrmFaveList
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmFavePro)

public:
    explicit FrmFavePro(SettingsStore &store, QWidget *parent = nullptr);

protected:
    QString chooseTarget() override;
};
