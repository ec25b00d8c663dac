#include "agent/FramePlayer.h"

#include "agent/AgentClock.h"
#include "agent/AgentTimer.h"

#include <QRandomGenerator>

namespace {
// A frame is at least this long, so a file of zero-length frames cannot spin the loop.
constexpr int kMinFrameMs = 10;
} // namespace

FramePlayer::FramePlayer(AgentClock &clock, QRandomGenerator &random, QObject *parent)
    : QObject(parent)
    , m_clock(clock)
    , m_random(random)
    , m_timer(new AgentTimer(clock, this))
{
    connect(m_timer, &AgentTimer::fired, this, &FramePlayer::advance);
}

FramePlayer::~FramePlayer() = default;

void FramePlayer::setCharacter(std::shared_ptr<const CharacterData> character)
{
    m_timer->stop();
    m_character = std::move(character);
    m_animation = nullptr;
    m_frame = 0;
    m_playing = false;
}

bool FramePlayer::play(const QString &name)
{
    const CharacterData::Animation *animation =
            m_character ? m_character->animation(name) : nullptr;
    if (!animation || animation->frames.isEmpty())
        return false;
    m_animation = animation;
    m_exiting = false;
    m_playing = true;
    if (m_still) {
        // A looping walk has no real end frame; its first frame is the calm one.
        enter(animation->loops ? 0 : int(animation->frames.size()) - 1);
        end();
        return true;
    }
    enter(0);
    return true;
}

void FramePlayer::finish()
{
    if (!m_playing)
        return;
    const CharacterData::Frame *current = frame();
    if (current && current->exitFrame >= 0 && current->exitFrame < m_animation->frames.size() &&
        !m_exiting) {
        m_exiting = true;
        m_exitSteps = 0;
        return; // the exit is taken when this frame's time is up
    }
    if (!m_exiting)
        end();
}

void FramePlayer::hold(const QString &name, int frame)
{
    const CharacterData::Animation *animation =
            m_character ? m_character->animation(name) : nullptr;
    if (!animation || frame < 0 || frame >= animation->frames.size())
        return;
    m_timer->stop();
    m_playing = false;
    m_animation = animation;
    m_frame = frame;
    emit frameChanged();
}

const CharacterData::Frame *FramePlayer::frame() const
{
    if (!m_animation || m_frame < 0 || m_frame >= m_animation->frames.size())
        return nullptr;
    return &m_animation->frames.at(m_frame);
}

void FramePlayer::enter(int frame)
{
    m_frame = frame;
    m_frameStart = m_clock.nowMs();
    emit frameChanged();
    if (m_playing && !m_still)
        m_timer->armAt(m_frameStart +
                       std::max(kMinFrameMs, m_animation->frames.at(frame).durationMs));
}

void FramePlayer::advance()
{
    if (!m_playing || !m_animation)
        return;
    const CharacterData::Frame &current = m_animation->frames.at(m_frame);
    const int count = int(m_animation->frames.size());
    int next = m_frame + 1;
    if (m_exiting && ++m_exitSteps > count)
        return end(); // exit branches that go round in circles
    if (m_exiting && current.exitFrame >= 0 && current.exitFrame < count) {
        next = current.exitFrame;
    } else if (!current.branches.isEmpty()) {
        int roll = int(m_random.bounded(100));
        for (const CharacterData::Branch &branch : current.branches) {
            if (roll < branch.percent) {
                if (branch.frame >= 0 && branch.frame < count)
                    next = branch.frame;
                break;
            }
            roll -= branch.percent;
        }
    }
    // An exit path leads forward to the end; looping stops once an exit is asked for.
    if (next >= count) {
        if (m_animation->loops && !m_exiting)
            next = 0;
        else
            return end();
    }
    if (m_exiting && current.exitFrame < 0 && next <= m_frame)
        return end();
    enter(next);
}

void FramePlayer::end()
{
    m_timer->stop();
    m_playing = false;
    m_exiting = false;
    emit finished();
}
