#include "agent/SpeechEngine.h"

#include "agent/SpeechSynthesizer.h"
#include "agent/WavFileWriter.h"

#include <QCoreApplication>
#include <QPointer>

SpeechEngine &SpeechEngine::instance()
{
    // Owned by the application so the worker thread ends before Qt shuts down.
    static QPointer<SpeechEngine> engine;
    if (!engine) {
        engine = new SpeechEngine;
        engine->setParent(QCoreApplication::instance());
    }
    return *engine;
}

SpeechEngine::SpeechEngine()
{
    qRegisterMetaType<SpeechChunk>();
    qRegisterMetaType<SpeechScript>();
    setWavFile(qEnvironmentVariable("QUILLOMI_SPEECH_WAV"));
    m_synthesizer = new SpeechSynthesizer;
    m_synthesizer->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_synthesizer, &QObject::deleteLater);
    connect(m_synthesizer, &SpeechSynthesizer::chunkReady, this, &SpeechEngine::deliver,
            Qt::QueuedConnection);
    m_thread.setObjectName(QStringLiteral("speech"));
    m_thread.start();
}

SpeechEngine::~SpeechEngine()
{
    m_synthesizer->cancelled.store(SpeechSynthesizer::StopEverything);
    m_thread.quit();
    m_thread.wait();
}

quint64 SpeechEngine::start(const SpeechScript &script, const QString &espeakVoice, int rateWpm,
                            int basePitch)
{
    const quint64 utterance = m_nextUtterance++;
    QMetaObject::invokeMethod(
            m_synthesizer,
            [synthesizer = m_synthesizer, utterance, script, espeakVoice, rateWpm, basePitch] {
                synthesizer->start(utterance, script, espeakVoice, rateWpm, basePitch);
            },
            Qt::QueuedConnection);
    return utterance;
}

void SpeechEngine::more(quint64 utterance)
{
    QMetaObject::invokeMethod(
            m_synthesizer,
            [synthesizer = m_synthesizer, utterance] { synthesizer->more(utterance); },
            Qt::QueuedConnection);
}

void SpeechEngine::cancel(quint64 utterance)
{
    m_synthesizer->cancelled.store(utterance);
    QMetaObject::invokeMethod(
            m_synthesizer,
            [synthesizer = m_synthesizer, utterance] { synthesizer->cancel(utterance); },
            Qt::QueuedConnection);
}

void SpeechEngine::setWavFile(const QString &path)
{
    m_wav.reset();
    if (!path.isEmpty())
        m_wav = std::make_unique<WavFileWriter>(path, SpeechFormat::SampleRate);
}

void SpeechEngine::deliver(const SpeechChunk &chunk)
{
    if (m_wav)
        m_wav->append(chunk.pcm);
    emit chunkReady(chunk);
}
