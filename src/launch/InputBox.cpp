#include "launch/InputBox.h"

#include <QInputDialog>

QString InputBox(QWidget *owner, const QString &prompt, const QString &title,
                 const QString &defaultText)
{
    QInputDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("InputBox"));
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue();
}
