#include "base/Clock.h"

namespace {

class SystemClock final : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

const SystemClock systemClock;
const Clock *installed = &systemClock;

} // namespace

QDateTime Clock::currentDateTime()
{
    return installed->now();
}

void Clock::install(const Clock *clock)
{
    installed = clock ? clock : &systemClock;
}
