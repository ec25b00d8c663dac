#pragma once

#include "agent/SpeechChunk.h"
#include "agent/SpeechScript.h"

#include <QHash>
#include <QMutex>
#include <QObject>
#include <QSet>
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

    // Any thread: the callback aborts synthesis of this utterance at once (several may be
    // pending, one per character); the queued cancel() then forgets the job.
    void requestCancel(quint64 utterance);
    // Any thread: aborts whatever runs (the engine is shutting down).
    void requestStopEverything() { m_stopEverything.store(true); }
    bool isCancelled(quint64 utterance) const;

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
    mutable QMutex m_cancelMutex;
    QSet<quint64> m_cancelled; // guarded by m_cancelMutex
    std::atomic<bool> m_stopEverything{false};
    int m_engineState = 0; // 0 not tried, 1 ready, -1 unavailable
    QString m_voice;
};
