#pragma once

#include <QtGlobal>

class AgentTimer;

// The time base of the running component: animation frames, the request queue, the speech
// clock and the balloon all ask it for "now" (milliseconds) and arm their deadlines on it.
// The system clock arms real timers; a ManualAgentClock lets tests step through time.
class AgentClock
{
public:
    virtual ~AgentClock() = default;
    virtual qint64 nowMs() const = 0;

    // The process's real clock.
    static AgentClock &system();

protected:
    friend class AgentTimer;
    virtual void arm(AgentTimer *timer, qint64 atMs) = 0;
    virtual void disarm(AgentTimer *timer) = 0;
};
