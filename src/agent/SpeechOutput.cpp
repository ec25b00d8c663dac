#include "agent/SpeechOutput.h"

#include "agent/AgentClock.h"
#include "agent/AgentLog.h"
#include "agent/AgentTimer.h"
#include "agent/SpeechEngine.h"
#include "agent/SpeechPcmDevice.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <QTimer>

namespace {

// Keep this much audio synthesised ahead of the voice; a 20 KB text never sits in memory
// as one recording.
constexpr qint64 kAheadSamples = SpeechFormat::SampleRate * 15;
// How far the words may wait for a slow sound device.
constexpr qint64 kMaxDeviceLagMs = 1500;
// Longer than any sound device's buffer.
constexpr std::chrono::milliseconds kDrain{750};

} // namespace

SpeechOutput::SpeechOutput(AgentClock &clock, QObject *parent)
    : SpeechPort(parent)
    , m_clock(clock)
    , m_timer(new AgentTimer(clock, this))
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
    stopSink(false);
    if (m_utterance != 0 && !m_last)
        SpeechEngine::instance().cancel(m_utterance);
    m_utterance = 0;
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
            startSink(chunk.pcm);
        emit firstAudio();
    } else if (m_device) {
        m_device->append(chunk.pcm);
    }
    for (const SpeechCue &cue : chunk.cues)
        m_cues << TimedCue{m_received + cue.sample, cue.kind, cue.value};
    m_received += chunk.samples();
    m_last = chunk.last;
    update();
}

qint64 SpeechOutput::positionSamples() const
{
    const qint64 byClock = SpeechFormat::msToSamples(m_clock.nowMs() - m_startMs);
    if (!m_sink)
        return byClock;
    // Follow the sound device (it may take a moment to start), so words appear as they
    // are heard; a device that stops taking audio holds the words back only so long.
    const qint64 byDevice = m_sink->processedUSecs() * SpeechFormat::SampleRate / 1'000'000;
    return std::clamp(byDevice, byClock - SpeechFormat::msToSamples(kMaxDeviceLagMs), byClock);
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
        qCInfo(lcAgent).noquote() << "speech done:" << SpeechFormat::samplesToMs(m_received)
                                  << "ms,"
                                  << (m_sink ? QStringLiteral("the sound device took %1 ms")
                                                       .arg(m_sink->processedUSecs() / 1000)
                                             : QStringLiteral("silent"));
        stopSink(true);
        m_utterance = 0;
        emit finished();
        return;
    }
    requestMoreIfLow(position);
    qint64 next = m_received;
    if (m_nextCue < m_cues.size())
        next = std::min(next, m_cues.at(m_nextCue).sample);
    if (next > position || m_last) {
        const qint64 aheadMs = ((next - position) * 1000 + SpeechFormat::SampleRate - 1) /
                               SpeechFormat::SampleRate;
        if (m_sink)
            m_timer->armIn(std::max<qint64>(5, aheadMs));
        else
            m_timer->armAt(m_startMs +
                           (next * 1000 + SpeechFormat::SampleRate - 1) / SpeechFormat::SampleRate);
    }
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

void SpeechOutput::startSink(const QByteArray &firstPcm)
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
    // Each utterance has its own sink and buffer, so a draining tail never plays the next
    // utterance's words. The buffer is filled before the sink starts pulling.
    m_sink = new QAudioSink(device, format, this);
    m_device = new SpeechPcmDevice(m_sink);
    m_device->append(firstPcm);
    m_sink->start(m_device);
    if (m_sink->error() != QAudio::NoError) {
        // No usable device: the timeline runs on silently.
        delete m_sink;
        m_sink = nullptr;
        m_device = nullptr;
    }
}

void SpeechOutput::stopSink(bool drain)
{
    if (!m_sink)
        return;
    QAudioSink *sink = std::exchange(m_sink, nullptr);
    m_device = nullptr;
    if (!drain) {
        sink->stop();
        sink->deleteLater();
        return;
    }
    // The device still holds what the timeline has passed: let it play out.
    QTimer::singleShot(kDrain, sink, [sink] {
        sink->stop();
        sink->deleteLater();
    });
}
