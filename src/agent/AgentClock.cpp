#include "agent/AgentClock.h"

#include "agent/AgentTimer.h"

#include <QElapsedTimer>
#include <algorithm>
#include <chrono>

// Real time from a monotonic clock; deadlines are precise single-shot timers.
class SystemAgentClock final : public AgentClock
{
public:
    SystemAgentClock() { m_elapsed.start(); }
    qint64 nowMs() const override { return m_elapsed.elapsed(); }

protected:
    void arm(AgentTimer *timer, qint64 atMs) override
    {
        timer->m_timer.start(std::chrono::milliseconds(std::max<qint64>(0, atMs - nowMs())));
    }
    void disarm(AgentTimer *timer) override { timer->m_timer.stop(); }

private:
    QElapsedTimer m_elapsed;
};

AgentClock &AgentClock::system()
{
    static SystemAgentClock clock;
    return clock;
}
