#pragma once

#include "agent/SpeechChunk.h"
#include "agent/SpeechPort.h"
#include "agent/SpeechScript.h"

#include <QList>
#include <QObject>

class AgentClock;
class AgentTimer;
class QAudioSink;
class SpeechPcmDevice;

// Plays one character's speech: feeds the engine's PCM to the sound device and reports,
// in step with the voice, how much of the balloon text has been spoken and which mouth
// shape to draw. Timing comes from the component's clock, so with no sound device (or
// speech switched off) the same timeline runs silently.
class SpeechOutput final : public SpeechPort
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SpeechOutput)

public:
    explicit SpeechOutput(AgentClock &clock, QObject *parent = nullptr);
    ~SpeechOutput() override;

    void speak(const SpeechScript &script, const QString &espeakVoice, int rateWpm,
               int basePitch = 50);
    // Speaks with the voice and speed set below.
    void startSpeech(const SpeechScript &script) override
    {
        speak(script, m_voice, m_rate, m_pitch);
    }
    void stopSpeech() override { stop(); }
    void setVoice(const QString &espeakVoice) { m_voice = espeakVoice; }
    void setRate(int wordsPerMinute) { m_rate = wordsPerMinute; }
    void setBasePitch(int pitch) { m_pitch = pitch; }
    void stop();
    bool isSpeaking() const { return m_utterance != 0; }
    // False keeps the timeline but sends nothing to the sound device.
    void setAudible(bool audible) { m_audible = audible; }
    bool usesSoundDevice() const { return m_sink != nullptr; }
    // Audio synthesised but not yet reached by the voice.
    qint64 bufferedMs() const;

signals:
    void firstAudio();
    void markReached(int mark);

private:
    void receive(const SpeechChunk &chunk);
    void update();
    void startSink(const QByteArray &firstPcm);
    void stopSink(bool drain);
    qint64 positionSamples() const;
    void requestMoreIfLow(qint64 position);

    struct TimedCue
    {
        qint64 sample = 0;
        SpeechCue::Kind kind = SpeechCue::Kind::Reveal;
        int value = 0;
    };

    AgentClock &m_clock;
    AgentTimer *m_timer;
    QAudioSink *m_sink = nullptr;
    SpeechPcmDevice *m_device = nullptr; // owned by m_sink
    quint64 m_utterance = 0;
    QList<TimedCue> m_cues;
    qsizetype m_nextCue = 0;
    qint64 m_received = 0; // samples
    qint64 m_startMs = 0;
    bool m_started = false;
    bool m_last = false;
    bool m_awaitingMore = false;
    bool m_audible = true;
    QString m_voice = QStringLiteral("en-us");
    int m_rate = 175;
    int m_pitch = 50;
};
