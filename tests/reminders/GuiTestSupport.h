#pragma once

#include "reminders/ReminderCharacter.h"

#include <QApplication>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <functional>

// Stands in for the speaking character and records what the reminders asked of it.
struct RecordingCharacter final : ReminderCharacter
{
    void bringToTop() override {}
    void speakText(const QString &text) override { calls << QStringLiteral("speak:") + text; }
    void decline() override { calls << QStringLiteral("decline"); }
    void speakReminder(const QString &, const QString &text) override
    {
        calls << QStringLiteral("reminder:") + text;
    }
    void stopReminder(const QString &key) override { calls << QStringLiteral("stop:") + key; }

    QStringList calls;
};

// The visible top-level window named `name`, if any.
inline QWidget *visibleWindow(const QString &name)
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() == name && w->isVisible())
            return w;
    }
    return nullptr;
}

// Runs `act` on the window named `name` as soon as it shows; used to answer dialogs that
// wait in their own event loop. Gives up after a few seconds so a test fails, not hangs.
inline void whenShown(const QString &name, std::function<void(QWidget *)> act, int tries = 300)
{
    QTimer::singleShot(10, qApp, [name, act, tries] {
        if (QWidget *w = visibleWindow(name))
            act(w);
        else if (tries > 0)
            whenShown(name, act, tries - 1);
    });
}
