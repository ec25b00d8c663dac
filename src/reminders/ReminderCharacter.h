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
    // The spoken half of a reminder's announcement (the pop-up is opened by the caller).
    virtual void speakReminder(const QString &spokenText) = 0;

    // The character that says nothing.
    static ReminderCharacter &silent();
};
