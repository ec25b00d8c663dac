#pragma once

#include "launch/FrmFaveList.h"

class QRadioButton;

// The favourite sites: a new entry's address is typed, starting with the chosen protocol.
class FrmFaveSite final : public FrmFaveList
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmFaveSite)

public:
    explicit FrmFaveSite(SettingsStore &store, QWidget *parent = nullptr);

protected:
    QString chooseTarget() override;

private:
    QRadioButton *m_http;
    QRadioButton *m_https;
};
