#include "agent/SpeechOutput.h"

#include "agent/AgentClock.h"
#include "agent/AgentTimer.h"
#include "agent/SpeechEngine.h"
#include "agent/SpeechPcmDevice.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

namespace {

// Keep this much audio synthesised ahead of the voice; a 20 KB text never sits in memory
// as one recording.
constexpr qint64 kAheadSamples = SpeechFormat::SampleRate * 15;

} // namespace

SpeechOutput::SpeechOutput(AgentClock &clock, QObject *parent)
    : SpeechPort(parent)
    , m_clock(clock)
    , m_timer(new AgentTimer(clock, this))
    , m_device(new SpeechPcmDevice(this))
{
    connect(m_timer, &AgentTimer::fired, this, &SpeechOutput::update);
    connect(&SpeechEngine::instance(), &SpeechEngine::chunkReady, this, &SpeechOutput::receive);
}

SpeechOutput::~SpeechOutput()
{
    stop();
}

void SpeechOutput::speak(const SpeechScript &script, const QString &espeakVoice, int rateWpm,
                         int basePitch)
{
    stop();
    m_cues.clear();
    m_nextCue = 0;
    m_received = 0;
    m_started = false;
    m_last = false;
    m_awaitingMore = true;
    m_utterance = SpeechEngine::instance().start(script, espeakVoice, rateWpm, basePitch);
}

void SpeechOutput::stop()
{
    m_timer->stop();
    stopSink();
    if (m_utterance != 0 && !m_last)
        SpeechEngine::instance().cancel(m_utterance);
    m_utterance = 0;
    m_device->clear();
}

void SpeechOutput::receive(const SpeechChunk &chunk)
{
    if (chunk.utterance != m_utterance || m_utterance == 0)
        return;
    m_awaitingMore = false;
    if (!m_started) {
        m_started = true;
        m_startMs = m_clock.nowMs();
        if (m_audible)
            startSink();
        emit firstAudio();
    }
    for (const SpeechCue &cue : chunk.cues)
        m_cues << TimedCue{m_received + cue.sample, cue.kind, cue.value};
    if (m_sink)
        m_device->append(chunk.pcm);
    m_received += chunk.samples();
    m_last = chunk.last;
    update();
}

qint64 SpeechOutput::positionSamples() const
{
    return SpeechFormat::msToSamples(m_clock.nowMs() - m_startMs);
}

void SpeechOutput::update()
{
    if (m_utterance == 0 || !m_started)
        return;
    qint64 position = positionSamples();
    if (position > m_received) {
        if (!m_last) {
            // The engine fell behind: hold the timeline where the audio ends.
            m_startMs = m_clock.nowMs() - SpeechFormat::samplesToMs(m_received);
        }
        position = m_received;
    }
    while (m_nextCue < m_cues.size() && m_cues.at(m_nextCue).sample <= position) {
        const TimedCue cue = m_cues.at(m_nextCue++);
        switch (cue.kind) {
        case SpeechCue::Kind::Reveal:
            emit revealed(cue.value);
            break;
        case SpeechCue::Kind::Mouth:
            emit mouthChanged(cue.value);
            break;
        case SpeechCue::Kind::Mark:
            emit markReached(cue.value);
            break;
        }
        if (m_utterance == 0)
            return; // a receiver stopped us
    }
    if (m_nextCue > 4096) {
        m_cues.remove(0, m_nextCue);
        m_nextCue = 0;
    }
    if (m_last && position >= m_received && m_nextCue >= m_cues.size()) {
        m_timer->stop();
        stopSink();
        m_utterance = 0;
        emit finished();
        return;
    }
    requestMoreIfLow(position);
    qint64 next = m_received;
    if (m_nextCue < m_cues.size())
        next = std::min(next, m_cues.at(m_nextCue).sample);
    if (next > position || m_last)
        m_timer->armAt(m_startMs +
                       (next * 1000 + SpeechFormat::SampleRate - 1) / SpeechFormat::SampleRate);
}

qint64 SpeechOutput::bufferedMs() const
{
    if (!m_started)
        return 0;
    return SpeechFormat::samplesToMs(std::max<qint64>(0, m_received - positionSamples()));
}

void SpeechOutput::requestMoreIfLow(qint64 position)
{
    if (m_last || m_awaitingMore || m_received - position >= kAheadSamples)
        return;
    m_awaitingMore = true;
    SpeechEngine::instance().more(m_utterance);
}

void SpeechOutput::startSink()
{
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return;
    QAudioFormat format;
    format.setSampleRate(SpeechFormat::SampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format))
        return;
    m_sink = new QAudioSink(device, format, this);
    m_sink->start(m_device);
    if (m_sink->error() != QAudio::NoError) {
        // No usable device: the timeline runs on silently.
        delete m_sink;
        m_sink = nullptr;
    }
}

void SpeechOutput::stopSink()
{
    if (!m_sink)
        return;
    m_sink->stop();
    m_sink->deleteLater();
    m_sink = nullptr;
}
