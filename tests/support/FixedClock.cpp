#include "support/FixedClock.h"

FixedClock::FixedClock(const QDateTime &start)
    : m_now(start)
{
    Clock::install(this);
}

FixedClock::~FixedClock()
{
    Clock::install(nullptr);
}
