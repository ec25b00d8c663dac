#include "agent/AgentTimer.h"

#include "agent/AgentClock.h"

#include <algorithm>

AgentTimer::AgentTimer(AgentClock &clock, QObject *parent)
    : QObject(parent)
    , m_clock(clock)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &AgentTimer::fire);
}

AgentTimer::~AgentTimer()
{
    stop();
}

void AgentTimer::armAt(qint64 atMs)
{
    if (m_armed)
        m_clock.disarm(this);
    m_deadline = atMs;
    m_armed = true;
    m_clock.arm(this, atMs);
}

void AgentTimer::armIn(qint64 ms)
{
    armAt(m_clock.nowMs() + std::max<qint64>(0, ms));
}

void AgentTimer::stop()
{
    if (!m_armed)
        return;
    m_armed = false;
    m_clock.disarm(this);
}

void AgentTimer::fire()
{
    if (!m_armed)
        return;
    m_armed = false;
    emit fired();
}
