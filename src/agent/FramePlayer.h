#pragma once

#include "agent/CharacterData.h"

#include <QObject>
#include <memory>

class AgentClock;
class AgentTimer;
class QRandomGenerator;

// Plays one animation of a character frame by frame: each frame's own duration, random
// branches, looping walks, and an early exit through the frame's exit branch. It sleeps
// until the next frame is due; a finished animation holds its last frame with no timer.
class FramePlayer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FramePlayer)

public:
    FramePlayer(AgentClock &clock, QRandomGenerator &random, QObject *parent = nullptr);
    ~FramePlayer() override;

    void setCharacter(std::shared_ptr<const CharacterData> character);
    // Starts an animation by name (without regard to case); false when there is none.
    bool play(const QString &name);
    // Ends the animation early: through its exit branches when it has them, else at once.
    void finish();
    // Shows one frame without playing (rest pose, reduced motion).
    void hold(const QString &name, int frame);
    // Reduced motion: every animation shows its last frame and ends at once.
    void setStill(bool still) { m_still = still; }

    bool isPlaying() const { return m_playing; }
    const CharacterData::Animation *animation() const { return m_animation; }
    int frameIndex() const { return m_frame; }
    const CharacterData::Frame *frame() const;

signals:
    void frameChanged();
    void finished();

private:
    void advance();
    void enter(int frame);
    void end();

    AgentClock &m_clock;
    QRandomGenerator &m_random;
    AgentTimer *m_timer;
    std::shared_ptr<const CharacterData> m_character;
    const CharacterData::Animation *m_animation = nullptr;
    int m_frame = 0;
    qint64 m_frameStart = 0;
    bool m_playing = false;
    bool m_exiting = false;
    int m_exitSteps = 0;
    bool m_still = false;
};
