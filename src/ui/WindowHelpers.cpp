#include "ui/WindowHelpers.h"

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QWidget>
#include <QWindow>

QString BrowseForFolder(QWidget *owner)
{
    QFileDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("BrowseForFolder"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setDirectory(QDir::homePath());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

void SetTopmost(QWidget *widget, bool on)
{
    if (!widget)
        return;
    QWidget *window = widget->window();
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    if (flags == window->windowFlags())
        return;
    QWindow *handle = window->windowHandle();
    if (!handle) {
        // Nothing native exists yet: the flag is simply used when the window is created.
        window->setWindowFlags(flags);
        return;
    }
    // QWidget::setWindowFlags would hide and re-create a native window (it flickers, loses
    // its place and may take the focus). The native window takes the new state in place
    // (on X11 a _NET_WM_STATE_ABOVE request); the widget only needs to remember it.
    window->overrideWindowFlags(flags);
    handle->setFlags(flags);
}

void SetDigitsOnly(QLineEdit *edit)
{
    if (!edit)
        return;
    static const QRegularExpression digits(QStringLiteral("[0-9]*"));
    const QString validatorName = QStringLiteral("DigitsOnly");
    if (!edit->validator() || edit->validator()->objectName() != validatorName) {
        auto *validator = new QRegularExpressionValidator(digits, edit);
        validator->setObjectName(validatorName);
        edit->setValidator(validator);
    }
    edit->setInputMethodHints(edit->inputMethodHints() | Qt::ImhDigitsOnly);
    edit->update();
}

void ShowIfHidden(QWidget *window)
{
    if (!window || window->isVisible())
        return;
    window->setWindowModality(Qt::NonModal);
    window->show();
}
