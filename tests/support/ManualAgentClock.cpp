#include "support/ManualAgentClock.h"

#include "agent/AgentTimer.h"

#include <algorithm>

ManualAgentClock::~ManualAgentClock() = default;

void ManualAgentClock::advance(qint64 ms)
{
    const qint64 target = m_now + std::max<qint64>(0, ms);
    while (AgentTimer *next = earliest()) {
        if (next->deadline() > target)
            break;
        m_now = std::max(m_now, next->deadline());
        m_armed.removeOne(next);
        next->fire();
    }
    m_now = target;
}

bool ManualAgentClock::step()
{
    AgentTimer *next = earliest();
    if (!next)
        return false;
    m_now = std::max(m_now, next->deadline());
    m_armed.removeOne(next);
    next->fire();
    return true;
}

void ManualAgentClock::arm(AgentTimer *timer, qint64)
{
    if (!m_armed.contains(timer))
        m_armed << timer;
}

void ManualAgentClock::disarm(AgentTimer *timer)
{
    m_armed.removeOne(timer);
}

AgentTimer *ManualAgentClock::earliest() const
{
    AgentTimer *best = nullptr;
    for (AgentTimer *timer : m_armed) {
        if (!best || timer->deadline() < best->deadline())
            best = timer;
    }
    return best;
}
