#pragma once

#include <QString>

class QLineEdit;
class QWidget;

// The system's folder picker, owned by `owner`: a chosen folder, or empty when cancelled.
QString BrowseForFolder(QWidget *owner);

// Keeps the window of `widget` above all normal windows (on) or puts it back among them
// (off), without moving, resizing, activating or re-creating it.
void SetTopmost(QWidget *widget, bool on);

// Lets the text box accept digits only.
void SetDigitsOnly(QLineEdit *edit);

// Shows a hidden window as a normal, non-modal window; a visible one is left as it is.
void ShowIfHidden(QWidget *window);
