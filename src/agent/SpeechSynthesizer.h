#pragma once

#include "agent/SpeechChunk.h"
#include "agent/SpeechScript.h"

#include <QHash>
#include <QObject>
#include <atomic>

// Turns scripts into PCM with libespeak-ng, a batch of audio at a time so that a long text
// never holds the whole recording in memory. espeak-ng is one engine per process and not
// thread-safe: only this object calls it, on its own thread (see SpeechEngine).
class SpeechSynthesizer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SpeechSynthesizer)

public:
    SpeechSynthesizer();
    ~SpeechSynthesizer() override;

    // Set from any thread: the callback aborts synthesis of this utterance at once;
    // StopEverything aborts whatever runs (the engine is shutting down).
    std::atomic<quint64> cancelled{0};
    static constexpr quint64 StopEverything = ~quint64(0);
    bool isCancelled(quint64 utterance) const
    {
        const quint64 value = cancelled.load();
        return value == utterance || value == StopEverything;
    }

    // Splits a text into pieces that end at a sentence or clause where possible, none
    // longer than `maxLength`; short first pieces keep the time to the first sound low.
    static QList<std::pair<int, int>> splitText(const QString &text, int maxLength);

public slots:
    void start(quint64 utterance, const SpeechScript &script, const QString &voice, int rate,
               int basePitch = 50);
    void more(quint64 utterance);
    void cancel(quint64 utterance);

signals:
    void chunkReady(const SpeechChunk &chunk);

private:
    struct Segment
    {
        int piece = 0;
        int start = 0;
        int length = 0;
    };
    struct Job
    {
        SpeechScript script;
        QString voice;
        int rate = 175;
        int pitch = 50;
        QList<Segment> segments;
        int next = 0;
    };

    void produce(quint64 utterance, qint64 targetSamples);
    SpeechChunk synthesize(quint64 utterance, const Job &job, const Segment &segment);
    bool ensureEngine();

    QHash<quint64, Job> m_jobs;
    int m_engineState = 0; // 0 not tried, 1 ready, -1 unavailable
    QString m_voice;
};
