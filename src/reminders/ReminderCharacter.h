#pragma once

#include <QString>

// What the reminders need from the speaking character. The character side installs its
// implementation at start-up; until then a silent one stands in, so reminders still pop up.
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

    static ReminderCharacter &current();
    // nullptr goes back to the silent stand-in; the caller keeps ownership.
    static void install(ReminderCharacter *character);
};
