#pragma once

#include <QString>

// What the reminders need from the speaking character. The program passes the character
// side's implementation in; a silent one stands in where none speaks (a second copy, tests),
// so reminders still pop up.
class ReminderCharacter
{
public:
    virtual ~ReminderCharacter() = default;

    // Brings the character to the top (every reminder check does this).
    virtual void bringToTop() = 0;
    // The one speech routine: shows the character and speaks.
    virtual void speakText(const QString &text) = 0;
    // Shows the character, stops what it does and plays the refusal.
    virtual void decline() = 0;
    // The spoken half of the announcement of reminder `key` (the caller opens the pop-up):
    // the attention animation, then the text.
    virtual void speakReminder(const QString &key, const QString &spokenText) = 0;
    // The reminder was dismissed: what is still to be said of it is not said.
    virtual void stopReminder(const QString &key) = 0;

    // The character that says nothing.
    static ReminderCharacter &silent();
};
