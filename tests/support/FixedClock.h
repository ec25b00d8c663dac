#pragma once

#include "base/Clock.h"

// A clock that stands still until moved; installs itself for its lifetime.
class FixedClock final : public Clock
{
public:
    explicit FixedClock(const QDateTime &start);
    ~FixedClock() override;
    FixedClock(const FixedClock &) = delete;
    FixedClock &operator=(const FixedClock &) = delete;

    QDateTime now() const override { return m_now; }
    void set(const QDateTime &when) { m_now = when; }
    void advanceSeconds(qint64 seconds) { m_now = m_now.addSecs(seconds); }
    void advanceMinutes(qint64 minutes) { advanceSeconds(minutes * 60); }
    void advanceDays(qint64 days) { m_now = m_now.addDays(days); }

private:
    QDateTime m_now;
};
