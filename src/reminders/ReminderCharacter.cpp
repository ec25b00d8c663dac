#include "reminders/ReminderCharacter.h"

namespace {

class SilentCharacter final : public ReminderCharacter
{
public:
    void bringToTop() override {}
    void speakText(const QString &) override {}
    void decline() override {}
    void speakReminder(const QString &, const QString &) override {}
    void stopReminder(const QString &) override {}
};

} // namespace

ReminderCharacter &ReminderCharacter::silent()
{
    static SilentCharacter character;
    return character;
}
