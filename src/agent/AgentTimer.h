#pragma once

#include <QObject>
#include <QTimer>

class AgentClock;

// A one-shot deadline on an AgentClock: fires once at an absolute time, never repeats, so
// an idle character costs no wake-ups at all.
class AgentTimer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AgentTimer)

public:
    explicit AgentTimer(AgentClock &clock, QObject *parent = nullptr);
    ~AgentTimer() override;

    void armAt(qint64 atMs);
    void armIn(qint64 ms);
    void stop();
    bool isArmed() const { return m_armed; }
    qint64 deadline() const { return m_deadline; }
    AgentClock &clock() const { return m_clock; }

signals:
    void fired();

private:
    friend class SystemAgentClock;
    friend class ManualAgentClock;
    void fire();

    AgentClock &m_clock;
    QTimer m_timer; // used by the system clock only
    qint64 m_deadline = 0;
    bool m_armed = false;
};
