#pragma once

#include "agent/CharacterData.h"

#include <QList>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <memory>
#include <optional>

class AgentClock;
class AgentTimer;
class FramePlayer;
class QRandomGenerator;
class SpeechPort;

// The life of one character without its windows: the request queue (Show, Hide, Play,
// Speak, Think, MoveTo played in order; Stop, StopAll), the frame player, idling, walking
// and the balloon's timeline. Windows draw what it says; time and chance come from the
// injected clock and random source, so every rule is testable step by step.
class CharacterRuntime final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CharacterRuntime)

public:
    enum class RequestKind { Show, Hide, Play, Speak, Think, MoveTo };
    Q_ENUM(RequestKind)

    // Walking speed in logical pixels per second, and the bounds of one walk.
    static constexpr int WalkPixelsPerSecond = 420;
    static constexpr int MinWalkMs = 250;
    static constexpr int MaxWalkMs = 3000;
    static constexpr int WalkTickMs = 20;
    // Idling: the quiet spell before the first idle animation, the pauses between them,
    // and when the deeper levels begin.
    static constexpr int IdleStartMs = 8000;
    static constexpr int IdleGapMinMs = 3000;
    static constexpr int IdleGapMaxMs = 9000;
    static constexpr int IdleLevel2Ms = 60000;
    static constexpr int IdleLevel3Ms = 180000;
    // Think balloons stay up long enough to read.
    static int thinkMs(const QString &text);

    CharacterRuntime(std::shared_ptr<const CharacterData> character, AgentClock &clock,
                     QRandomGenerator &random, QObject *parent = nullptr);
    ~CharacterRuntime() override;

    const std::shared_ptr<const CharacterData> &character() const { return m_character; }
    void setSpeechPort(SpeechPort *port);
    // Walk targets are clamped so the frame stays inside these bounds (empty: no clamp); a
    // character standing outside new bounds (a screen went away) is put back inside.
    void setBounds(const QRect &bounds);
    void setReducedMotion(bool reduced);
    // The name the log lines carry (the character's id).
    void setLogName(const QString &name) { m_logName = name; }

    quint64 show();
    quint64 hide();
    quint64 play(const QString &animation);
    quint64 speak(const QString &text);
    quint64 think(const QString &text);
    quint64 moveTo(const QPoint &topLeft);
    // Ends the current request; a running show or hide is never cut short.
    void stop();
    // Empties the queue, then stops the current request as stop() does.
    void stopAll();
    // Ends request `id`: a queued one never starts, a current one stops as stop() does.
    void cancel(quint64 id);

    void setIdleOn(bool on);
    bool idleOn() const { return m_idleOn; }
    int idleLevel() const { return m_idleLevel; }

    bool isVisible() const { return m_visible; }
    QPoint position() const { return m_position; }
    // Moves at once (a drag); no request.
    void setPosition(const QPoint &topLeft);
    const CharacterData::Frame *frame() const;
    std::optional<MouthShape> mouth() const { return m_mouth; }
    QString currentAnimation() const;
    bool isBusy() const { return m_current.has_value(); }
    std::optional<RequestKind> currentKind() const
    {
        return m_current ? std::optional(m_current->kind) : std::nullopt;
    }
    int queuedCount() const { return int(m_queue.size()); }

signals:
    void frameChanged();
    void visibilityChanged(bool visible);
    void positionChanged(const QPoint &topLeft);
    void balloonShown(const QString &text, bool thought);
    void balloonRevealed(int shownCharacters);
    void balloonFinished();  // the words are out: linger, then hide
    void balloonCancelled(); // hide at once
    void requestStarted(quint64 id, CharacterRuntime::RequestKind kind, const QString &argument);
    void requestCompleted(quint64 id, bool ok);
    // The character is gone after a Hide request (also when it was already hidden).
    void hidden();

private:
    struct Request
    {
        quint64 id = 0;
        RequestKind kind = RequestKind::Play;
        QString text;
        QPoint target;
    };
    enum class Phase { None, Return, Main, Idle };

    quint64 enqueue(Request request);
    void pump();
    void begin();
    void complete(bool ok);
    void finishHide();
    void cancelCurrent();
    bool startAnimation(const QString &name);
    void playerFinished();
    void speechFinished();
    void speechRevealed(int shown);
    void speechMouth(int shape);
    void walkTick();
    void thinkDone();
    void scheduleIdle(int delayMs);
    void idleTick();
    void stopIdling();
    void holdRest();
    QPoint clamp(const QPoint &topLeft) const;
    void setVisible(bool visible);

    std::shared_ptr<const CharacterData> m_character;
    AgentClock &m_clock;
    QRandomGenerator &m_random;
    FramePlayer *m_player;
    AgentTimer *m_walkTimer;
    AgentTimer *m_thinkTimer;
    AgentTimer *m_idleTimer;
    SpeechPort *m_speech = nullptr;
    QList<Request> m_queue;
    std::optional<Request> m_current;
    Phase m_phase = Phase::None;
    QString m_pendingReturn;
    QString m_afterReturn;
    quint64 m_nextId = 1;
    bool m_visible = false;
    bool m_reducedMotion = false;
    bool m_idleOn = true;
    int m_idleLevel = 0;
    qint64 m_idleSince = 0;
    QPoint m_position;
    QRect m_bounds;
    QString m_logName;
    std::optional<MouthShape> m_mouth;
    QPoint m_walkFrom;
    QPoint m_walkTo;
    qint64 m_walkStart = 0;
    qint64 m_walkMs = 0;
};
