#include "reminders/ReminderCharacter.h"

namespace {

class SilentCharacter final : public ReminderCharacter
{
public:
    void bringToTop() override {}
    void speakText(const QString &) override {}
    void decline() override {}
    void speakReminder(const QString &) override {}
};

SilentCharacter silent;
ReminderCharacter *installed = nullptr;

} // namespace

ReminderCharacter &ReminderCharacter::current()
{
    return installed ? *installed : silent;
}

void ReminderCharacter::install(ReminderCharacter *character)
{
    installed = character;
}
