#pragma once

#include "agent/AgentClock.h"

#include <QList>

// A clock that moves only when told; advancing fires every armed deadline on the way, in
// time order, with "now" set to each deadline. For tests and benchmarks.
class ManualAgentClock final : public AgentClock
{
public:
    explicit ManualAgentClock(qint64 startMs = 0)
        : m_now(startMs)
    {}
    ~ManualAgentClock() override;
    ManualAgentClock(const ManualAgentClock &) = delete;
    ManualAgentClock &operator=(const ManualAgentClock &) = delete;

    qint64 nowMs() const override { return m_now; }
    void advance(qint64 ms);
    // Moves to the next deadline (if any) and fires it; false when nothing is armed.
    bool step();
    int armedCount() const { return int(m_armed.size()); }

protected:
    void arm(AgentTimer *timer, qint64 atMs) override;
    void disarm(AgentTimer *timer) override;

private:
    AgentTimer *earliest() const;

    qint64 m_now;
    QList<AgentTimer *> m_armed;
};
