#pragma once

#include <QString>

class QWidget;

// Asks for one line of text in a small window owned by `owner` (object name "InputBox");
// empty when cancelled.
QString InputBox(QWidget *owner, const QString &prompt, const QString &title,
                 const QString &defaultText = QString());
