#pragma once

#include "agent/SpeechChunk.h"
#include "agent/SpeechScript.h"

#include <QObject>
#include <QThread>
#include <memory>

class SpeechSynthesizer;
class WavFileWriter;

// The process's one speech engine: runs the synthesizer on a worker thread and hands its
// chunks back on the GUI thread. When QUILLOMI_SPEECH_WAV names a file, every chunk of
// speech is also appended to that WAV file (end-to-end tests listen to it).
class SpeechEngine final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SpeechEngine)

public:
    static SpeechEngine &instance();
    ~SpeechEngine() override;

    // Starts synthesis of one utterance; chunks arrive by chunkReady with the returned id.
    quint64 start(const SpeechScript &script, const QString &espeakVoice, int rateWpm,
                  int basePitch = 50);
    // Asks for the next batch of audio of a long utterance.
    void more(quint64 utterance);
    void cancel(quint64 utterance);
    // Appends all further speech to this WAV file (empty: none).
    void setWavFile(const QString &path);

signals:
    void chunkReady(const SpeechChunk &chunk);

private:
    SpeechEngine();
    void deliver(const SpeechChunk &chunk);

    QThread m_thread;
    SpeechSynthesizer *m_synthesizer = nullptr;
    std::unique_ptr<WavFileWriter> m_wav;
    quint64 m_nextUtterance = 1;
};
