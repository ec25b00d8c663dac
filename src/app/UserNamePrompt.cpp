#include "app/UserNamePrompt.h"

#include "base/AppTitle.h"

#include <QInputDialog>

QString PromptUserName(const QString &proposed)
{
    QInputDialog dialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                         Qt::WindowCloseButtonHint);
    dialog.setObjectName(QStringLiteral("UserNamePrompt"));
    dialog.setWindowTitle(AppTitle());
    dialog.setLabelText(QStringLiteral("Please Enter Your Name"));
    dialog.setTextValue(proposed);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.textValue();
}
