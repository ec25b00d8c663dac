#pragma once

#include <QByteArray>
#include <QList>
#include <QMetaType>

// A stretch of synthesised speech: mono 16-bit PCM and what happens when.
struct SpeechCue
{
    enum class Kind { Reveal, Mouth, Mark };

    qint64 sample = 0; // from the start of the chunk
    Kind kind = Kind::Reveal;
    int value = 0; // shown characters, mouth shape or bookmark number
};

struct SpeechChunk
{
    quint64 utterance = 0;
    QByteArray pcm;
    QList<SpeechCue> cues;
    bool last = false;

    qint64 samples() const { return pcm.size() / 2; }
};

namespace SpeechFormat {
inline constexpr int SampleRate = 22050;
inline constexpr qint64 samplesToMs(qint64 samples)
{
    return samples * 1000 / SampleRate;
}
inline constexpr qint64 msToSamples(qint64 ms)
{
    return ms * SampleRate / 1000;
}
} // namespace SpeechFormat

Q_DECLARE_METATYPE(SpeechChunk)
