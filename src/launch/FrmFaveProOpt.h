#pragma once

#include "ui/ModalWindow.h"

class QLineEdit;
class QRadioButton;

// Asks for a program: a program file (or a command typed by hand) or a kind of file,
// "*.odt", meaning the program the desktop uses for it.
class FrmFaveProOpt final : public ModalWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmFaveProOpt)

public:
    explicit FrmFaveProOpt(QWidget *parent = nullptr);

    // The chosen target; empty when cancelled.
    QString SelectedTarget;

    void CmdState(bool extensionMode);
    void cmdFind();
    void cmdOk();
    void cmdCancel();

private:
    QRadioButton *m_optFile;
    QRadioButton *m_optExt;
    QLineEdit *m_txtPro;
    QLineEdit *m_txtExt;
};
