#include "agent/CharacterRuntime.h"

#include "agent/AgentClock.h"
#include "agent/AgentLog.h"
#include "agent/AgentTimer.h"
#include "agent/FramePlayer.h"
#include "agent/SpeechPort.h"
#include "agent/SpeechTags.h"

#include <QMetaEnum>
#include <QRandomGenerator>
#include <algorithm>
#include <cmath>

int CharacterRuntime::thinkMs(const QString &text)
{
    return std::clamp(1500 + int(text.size()) * 60, 2000, 15000);
}

CharacterRuntime::CharacterRuntime(std::shared_ptr<const CharacterData> character,
                                   AgentClock &clock, QRandomGenerator &random, QObject *parent)
    : QObject(parent)
    , m_character(std::move(character))
    , m_clock(clock)
    , m_random(random)
    , m_player(new FramePlayer(clock, random, this))
    , m_walkTimer(new AgentTimer(clock, this))
    , m_thinkTimer(new AgentTimer(clock, this))
    , m_idleTimer(new AgentTimer(clock, this))
{
    m_player->setCharacter(m_character);
    connect(m_player, &FramePlayer::frameChanged, this, &CharacterRuntime::frameChanged);
    connect(m_player, &FramePlayer::finished, this, &CharacterRuntime::playerFinished);
    connect(m_walkTimer, &AgentTimer::fired, this, &CharacterRuntime::walkTick);
    connect(m_thinkTimer, &AgentTimer::fired, this, &CharacterRuntime::thinkDone);
    connect(m_idleTimer, &AgentTimer::fired, this, &CharacterRuntime::idleTick);
    holdRest();
}

CharacterRuntime::~CharacterRuntime()
{
    if (m_speech && m_current && m_current->kind == RequestKind::Speak)
        m_speech->stopSpeech();
}

void CharacterRuntime::setSpeechPort(SpeechPort *port)
{
    if (m_speech)
        disconnect(m_speech, nullptr, this, nullptr);
    m_speech = port;
    if (!port)
        return;
    connect(port, &SpeechPort::finished, this, &CharacterRuntime::speechFinished);
    connect(port, &SpeechPort::revealed, this, &CharacterRuntime::speechRevealed);
    connect(port, &SpeechPort::mouthChanged, this, &CharacterRuntime::speechMouth);
}

void CharacterRuntime::setBounds(const QRect &bounds)
{
    m_bounds = bounds;
    if (m_bounds.isEmpty() || currentKind() == RequestKind::MoveTo)
        return;
    if (!m_bounds.contains(QRect(m_position, m_character->frameSize)))
        setPosition(clamp(m_position));
}

void CharacterRuntime::setReducedMotion(bool reduced)
{
    m_reducedMotion = reduced;
    m_player->setStill(reduced);
    if (reduced)
        stopIdling();
    else if (!m_current && m_queue.isEmpty())
        scheduleIdle(IdleStartMs);
}

quint64 CharacterRuntime::show()
{
    return enqueue({0, RequestKind::Show, {}, {}});
}

quint64 CharacterRuntime::hide()
{
    return enqueue({0, RequestKind::Hide, {}, {}});
}

quint64 CharacterRuntime::play(const QString &animation)
{
    return enqueue({0, RequestKind::Play, animation, {}});
}

quint64 CharacterRuntime::speak(const QString &text)
{
    return enqueue({0, RequestKind::Speak, text, {}});
}

quint64 CharacterRuntime::think(const QString &text)
{
    return enqueue({0, RequestKind::Think, text, {}});
}

quint64 CharacterRuntime::moveTo(const QPoint &topLeft)
{
    return enqueue({0, RequestKind::MoveTo, {}, topLeft});
}

quint64 CharacterRuntime::enqueue(Request request)
{
    request.id = m_nextId++;
    m_queue.append(request);
    stopIdling();
    pump();
    return request.id;
}

void CharacterRuntime::stop()
{
    if (!m_current)
        return;
    if (m_current->kind == RequestKind::Show || m_current->kind == RequestKind::Hide)
        return;
    qCInfo(lcAgent).noquote() << m_logName << "Stop, request" << m_current->id;
    cancelCurrent();
    complete(false);
}

void CharacterRuntime::cancel(quint64 id)
{
    if (m_current && m_current->id == id) {
        stop();
        return;
    }
    const auto queued = std::find_if(m_queue.cbegin(), m_queue.cend(),
                                     [id](const Request &request) { return request.id == id; });
    if (queued == m_queue.cend())
        return;
    qCInfo(lcAgent).noquote() << m_logName << "Cancel, request" << id;
    m_queue.erase(queued);
    emit requestCompleted(id, false);
}

void CharacterRuntime::stopAll()
{
    qCInfo(lcAgent).noquote() << m_logName << "StopAll," << m_queue.size() << "queued";
    const QList<Request> dropped = std::exchange(m_queue, {});
    for (const Request &request : dropped)
        emit requestCompleted(request.id, false);
    stop();
}

void CharacterRuntime::setIdleOn(bool on)
{
    m_idleOn = on;
    if (!on)
        stopIdling();
    else if (!m_current && m_queue.isEmpty())
        scheduleIdle(IdleStartMs);
}

void CharacterRuntime::setPosition(const QPoint &topLeft)
{
    if (m_position == topLeft)
        return;
    m_position = topLeft;
    emit positionChanged(m_position);
}

const CharacterData::Frame *CharacterRuntime::frame() const
{
    return m_player->frame();
}

QString CharacterRuntime::currentAnimation() const
{
    return m_player->animation() ? m_player->animation()->name : QString();
}

void CharacterRuntime::pump()
{
    while (!m_current && !m_queue.isEmpty()) {
        m_current = m_queue.takeFirst();
        begin();
    }
    if (!m_current && m_queue.isEmpty() && m_idleOn && m_phase != Phase::Idle)
        scheduleIdle(IdleStartMs);
}

void CharacterRuntime::begin()
{
    Request &request = *m_current;
    const QString argument =
            request.kind == RequestKind::MoveTo
                    ? QStringLiteral("%1,%2").arg(request.target.x()).arg(request.target.y())
                    : request.text;
    qCInfo(lcAgent).noquote() << m_logName << "request" << request.id
                              << QMetaEnum::fromType<RequestKind>().valueToKey(int(request.kind))
                              << argument.left(200);
    emit requestStarted(request.id, request.kind, argument);

    switch (request.kind) {
    case RequestKind::Show:
        if (m_visible)
            return complete(true);
        setVisible(true);
        if (!startAnimation(m_character->showAnimation)) {
            holdRest();
            complete(true);
        }
        return;
    case RequestKind::Hide:
        if (!m_visible)
            return finishHide();
        m_pendingReturn.clear();
        if (!startAnimation(m_character->hideAnimation))
            finishHide();
        return;
    case RequestKind::Play: {
        if (!m_visible || !m_character->animation(request.text))
            return complete(false);
        if (!m_pendingReturn.isEmpty() &&
            m_pendingReturn.compare(request.text, Qt::CaseInsensitive) != 0) {
            // Bring the pose back to rest before the next animation starts.
            const QString back = std::exchange(m_pendingReturn, {});
            m_phase = Phase::Return;
            if (m_player->play(back))
                return;
        }
        m_pendingReturn.clear();
        m_phase = Phase::Main;
        if (!m_player->play(request.text))
            complete(false);
        return;
    }
    case RequestKind::Speak: {
        if (!m_visible)
            return complete(false);
        const SpeechScript script = SpeechTags::parse(request.text);
        const QString shown = script.shownText();
        if (!script.hasSpeech() && shown.trimmed().isEmpty())
            return complete(true);
        if (const CharacterData::Frame *current = frame(); !current || !current->canSpeak())
            holdRest();
        emit balloonShown(shown, false);
        m_phase = Phase::Main;
        if (m_speech && script.hasSpeech()) {
            m_speech->startSpeech(script);
        } else {
            emit balloonRevealed(int(shown.size()));
            m_thinkTimer->armIn(thinkMs(shown));
        }
        return;
    }
    case RequestKind::Think:
        if (!m_visible)
            return complete(false);
        emit balloonShown(request.text, true);
        emit balloonRevealed(int(request.text.size()));
        m_phase = Phase::Main;
        m_thinkTimer->armIn(thinkMs(request.text));
        return;
    case RequestKind::MoveTo: {
        const QPoint target = clamp(request.target);
        const QPoint delta = target - m_position;
        const double distance = std::hypot(delta.x(), delta.y());
        if (!m_visible || m_reducedMotion || distance < 2.0) {
            setPosition(target);
            return complete(true);
        }
        MoveDirection direction;
        if (std::abs(delta.x()) >= std::abs(delta.y()))
            direction = delta.x() < 0 ? MoveDirection::Left : MoveDirection::Right;
        else
            direction = delta.y() < 0 ? MoveDirection::Up : MoveDirection::Down;
        m_pendingReturn.clear();
        m_phase = Phase::Main;
        m_player->play(m_character->moveAnimation(direction));
        m_walkFrom = m_position;
        m_walkTo = target;
        m_walkStart = m_clock.nowMs();
        m_walkMs = std::clamp(qint64(distance * 1000 / WalkPixelsPerSecond), qint64(MinWalkMs),
                              qint64(MaxWalkMs));
        m_walkTimer->armIn(WalkTickMs);
        return;
    }
    }
}

void CharacterRuntime::complete(bool ok)
{
    if (!m_current)
        return;
    const quint64 id = m_current->id;
    m_current.reset();
    m_phase = Phase::None;
    qCInfo(lcAgent).noquote() << m_logName << "request" << id << (ok ? "done" : "failed");
    emit requestCompleted(id, ok);
    pump();
}

void CharacterRuntime::finishHide()
{
    // The event comes while the character is gone, before a queued Show can bring it back.
    setVisible(false);
    emit hidden();
    complete(true);
}

void CharacterRuntime::cancelCurrent()
{
    switch (m_current->kind) {
    case RequestKind::Speak:
        m_thinkTimer->stop();
        if (m_speech)
            m_speech->stopSpeech();
        m_mouth.reset();
        emit balloonCancelled();
        emit frameChanged();
        break;
    case RequestKind::Think:
        m_thinkTimer->stop();
        emit balloonCancelled();
        break;
    case RequestKind::MoveTo:
        m_walkTimer->stop();
        [[fallthrough]];
    case RequestKind::Play: {
        // An animation cut short still owes its return, and so does a return cut short.
        const CharacterData::Animation *playing = m_player->animation();
        const QString returnTo = !playing                   ? QString()
                                 : m_phase == Phase::Return ? playing->name
                                                            : playing->returnAnimation;
        m_phase = Phase::None;
        m_player->finish();
        if (!returnTo.isEmpty())
            m_pendingReturn = returnTo;
        break;
    }
    case RequestKind::Show:
    case RequestKind::Hide:
        break;
    }
}

bool CharacterRuntime::startAnimation(const QString &name)
{
    m_phase = Phase::Main;
    if (name.isEmpty() || !m_player->play(name)) {
        m_phase = Phase::None;
        return false;
    }
    return true;
}

void CharacterRuntime::playerFinished()
{
    const Phase phase = std::exchange(m_phase, Phase::None);
    switch (phase) {
    case Phase::None:
        return;
    case Phase::Idle:
        if (const CharacterData::Animation *done = m_player->animation())
            m_pendingReturn = done->returnAnimation;
        scheduleIdle(IdleGapMinMs + int(m_random.bounded(IdleGapMaxMs - IdleGapMinMs)));
        return;
    case Phase::Return:
        if (m_current && m_current->kind == RequestKind::Play) {
            m_phase = Phase::Main;
            if (!m_player->play(m_current->text))
                complete(false);
        }
        return;
    case Phase::Main:
        break;
    }
    if (!m_current)
        return;
    switch (m_current->kind) {
    case RequestKind::Show:
        complete(true);
        return;
    case RequestKind::Hide:
        finishHide();
        return;
    case RequestKind::Play:
        if (const CharacterData::Animation *done = m_player->animation())
            m_pendingReturn = done->returnAnimation;
        complete(true);
        return;
    case RequestKind::MoveTo:
        m_phase = Phase::Main; // the walk loops until the window arrives
        return;
    case RequestKind::Speak:
    case RequestKind::Think:
        return;
    }
}

void CharacterRuntime::speechFinished()
{
    if (!m_current || m_current->kind != RequestKind::Speak)
        return;
    m_mouth.reset();
    emit frameChanged();
    emit balloonFinished();
    complete(true);
}

void CharacterRuntime::speechRevealed(int shown)
{
    if (m_current && m_current->kind == RequestKind::Speak)
        emit balloonRevealed(shown);
}

void CharacterRuntime::speechMouth(int shape)
{
    if (!m_current || m_current->kind != RequestKind::Speak)
        return;
    const std::optional<MouthShape> mouth =
            shape > 0 && shape < MouthShapeCount ? std::optional(MouthShape(shape)) : std::nullopt;
    if (mouth == m_mouth)
        return;
    m_mouth = mouth;
    emit frameChanged();
}

void CharacterRuntime::walkTick()
{
    const qint64 elapsed = m_clock.nowMs() - m_walkStart;
    if (elapsed >= m_walkMs) {
        setPosition(m_walkTo);
        const QString returnTo =
                m_player->animation() ? m_player->animation()->returnAnimation : QString();
        m_phase = Phase::None;
        m_player->finish();
        m_pendingReturn = returnTo;
        complete(true);
        return;
    }
    // Slow in, slow out.
    const double t = double(elapsed) / double(m_walkMs);
    const double eased = t * t * (3.0 - 2.0 * t);
    const QPoint delta = m_walkTo - m_walkFrom;
    setPosition(m_walkFrom +
                QPoint(int(std::lround(delta.x() * eased)), int(std::lround(delta.y() * eased))));
    m_walkTimer->armAt(std::min(m_clock.nowMs() + WalkTickMs, m_walkStart + m_walkMs));
}

void CharacterRuntime::thinkDone()
{
    if (!m_current ||
        (m_current->kind != RequestKind::Think && m_current->kind != RequestKind::Speak))
        return;
    emit balloonFinished();
    complete(true);
}

void CharacterRuntime::scheduleIdle(int delayMs)
{
    if (!m_idleOn || !m_visible || m_reducedMotion || m_current || !m_queue.isEmpty())
        return;
    if (m_idleLevel == 0)
        m_idleSince = m_clock.nowMs() + delayMs;
    m_idleTimer->armIn(delayMs);
}

void CharacterRuntime::idleTick()
{
    if (m_current || !m_queue.isEmpty() || !m_visible || !m_idleOn)
        return;
    if (!m_pendingReturn.isEmpty()) {
        m_phase = Phase::Idle;
        const QString back = std::exchange(m_pendingReturn, {});
        if (m_player->play(back)) {
            m_idleLevel = std::max(m_idleLevel, 1);
            return;
        }
    }
    const qint64 quiet = m_clock.nowMs() - m_idleSince;
    m_idleLevel = quiet >= IdleLevel3Ms ? 3 : quiet >= IdleLevel2Ms ? 2 : 1;
    // A character may lack a level; fall back to the nearest shallower one.
    for (int level = m_idleLevel; level >= 1; --level) {
        const QStringList &names = m_character->idleLevels[size_t(level - 1)];
        if (names.isEmpty())
            continue;
        m_phase = Phase::Idle;
        if (m_player->play(names.at(int(m_random.bounded(quint32(names.size()))))))
            return;
    }
    m_phase = Phase::None;
}

void CharacterRuntime::stopIdling()
{
    m_idleTimer->stop();
    m_idleLevel = 0;
    if (m_phase == Phase::Idle) {
        m_phase = Phase::None;
        m_player->finish();
    }
}

void CharacterRuntime::holdRest()
{
    if (!m_character->restAnimation.isEmpty())
        m_player->hold(m_character->restAnimation, 0);
}

QPoint CharacterRuntime::clamp(const QPoint &topLeft) const
{
    if (m_bounds.isEmpty())
        return topLeft;
    const QSize size = m_character->frameSize;
    return QPoint(std::clamp(topLeft.x(), m_bounds.left(),
                             std::max(m_bounds.left(), m_bounds.right() + 1 - size.width())),
                  std::clamp(topLeft.y(), m_bounds.top(),
                             std::max(m_bounds.top(), m_bounds.bottom() + 1 - size.height())));
}

void CharacterRuntime::setVisible(bool visible)
{
    if (m_visible == visible)
        return;
    m_visible = visible;
    qCInfo(lcAgent).noquote() << m_logName << (visible ? "shown" : "hidden");
    emit visibilityChanged(visible);
}
