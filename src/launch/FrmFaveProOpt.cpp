#include "launch/FrmFaveProOpt.h"

#include "launch/FavouriteListEdit.h"
#include "ui/ApplyLanguage.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

FrmFaveProOpt::FrmFaveProOpt(QWidget *parent)
    : ModalWindow(parent)
    , m_optFile(new QRadioButton(QStringLiteral("1"), this))
    , m_optExt(new QRadioButton(QStringLiteral("2"), this))
    , m_txtPro(new QLineEdit(this))
    , m_txtExt(new QLineEdit(this))
{
    setObjectName(QStringLiteral("FrmFaveProOpt"));
    setWindowTitle(QStringLiteral("0"));
    m_optFile->setObjectName(QStringLiteral("OptFile"));
    m_optExt->setObjectName(QStringLiteral("OptExt"));
    m_txtPro->setObjectName(QStringLiteral("TxtPro"));
    m_txtExt->setObjectName(QStringLiteral("TxtExt"));
    auto *find = new QPushButton(QStringLiteral("3"), this);
    find->setObjectName(QStringLiteral("CmdFind"));
    auto *ok = new QPushButton(QStringLiteral("4"), this);
    ok->setObjectName(QStringLiteral("CmdOk"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("5"), this);
    cancel->setObjectName(QStringLiteral("CmdCancel"));

    auto *layout = new QGridLayout(this);
    layout->addWidget(m_optFile, 0, 0);
    layout->addWidget(m_txtPro, 0, 1);
    layout->addWidget(find, 0, 2);
    layout->addWidget(m_optExt, 1, 0);
    layout->addWidget(m_txtExt, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons, 2, 0, 1, 3);
    layout->setColumnStretch(1, 1);

    connect(m_optFile, &QRadioButton::clicked, this, [this] { CmdState(false); });
    connect(m_optExt, &QRadioButton::clicked, this, [this] { CmdState(true); });
    connect(find, &QPushButton::clicked, this, &FrmFaveProOpt::cmdFind);
    connect(ok, &QPushButton::clicked, this, &FrmFaveProOpt::cmdOk);
    connect(cancel, &QPushButton::clicked, this, &FrmFaveProOpt::cmdCancel);

    ApplyLanguage(QStringLiteral("[Add Program]"), this);
    m_optFile->setChecked(true);
    CmdState(false);
}

void FrmFaveProOpt::CmdState(bool extensionMode)
{
    // The disabled box takes the palette's disabled look, as a button face.
    m_txtExt->setEnabled(extensionMode);
    m_txtPro->setEnabled(!extensionMode);
}

void FrmFaveProOpt::cmdFind()
{
    QFileDialog dialog(this);
    dialog.setObjectName(QStringLiteral("FindProgram"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({QStringLiteral("All Files (*)")});
    dialog.setDirectory(m_optExt->isChecked() ? QDir::homePath() : QStringLiteral("/usr/bin"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    SelectedTarget = dialog.selectedFiles().constFirst();
    if (m_optExt->isChecked()) {
        SelectedTarget = FavouriteListEdit::extensionPattern(SelectedTarget);
        m_txtExt->setText(SelectedTarget);
    } else {
        m_txtPro->setText(SelectedTarget);
    }
}

void FrmFaveProOpt::cmdOk()
{
    SelectedTarget = (m_optExt->isChecked() ? m_txtExt : m_txtPro)->text().trimmed();
    close();
}

void FrmFaveProOpt::cmdCancel()
{
    SelectedTarget.clear();
    close();
}
