#include "agent/SpeechSynthesizer.h"

#include "agent/PhonemeMouth.h"
#include "agent/SpeechTags.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <espeak-ng/speak_lib.h>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 kBatchSamples = SpeechFormat::SampleRate * 8;
constexpr int kMaxSegment = 400;

struct WordEvent
{
    int codePoint = 0; // 0-based
    qint64 sample = 0;
};

struct PhonemeEvent
{
    qint64 sample = 0;
    int shape = 0;
};

// What the synthesis callback collects for one espeak_Synth call.
struct Collector
{
    QByteArray pcm;
    QList<WordEvent> words;
    QList<PhonemeEvent> phonemes;
    const SpeechSynthesizer *owner = nullptr;
    quint64 utterance = 0;
};

thread_local Collector *t_collector = nullptr;

int synthCallback(short *wav, int samples, espeak_EVENT *events)
{
    Collector *collector = t_collector;
    if (!collector)
        return 1;
    if (wav && samples > 0)
        collector->pcm.append(reinterpret_cast<const char *>(wav), qsizetype(samples) * 2);
    for (espeak_EVENT *event = events; event && event->type != espeakEVENT_LIST_TERMINATED;
         ++event) {
        const qint64 sample = SpeechFormat::msToSamples(event->audio_position);
        if (event->type == espeakEVENT_WORD && event->length > 0)
            collector->words << WordEvent{event->text_position - 1, sample};
        else if (event->type == espeakEVENT_PHONEME)
            collector->phonemes << PhonemeEvent{
                    sample, int(PhonemeMouth::shapeFor(QByteArrayView(
                                    event->id.string, qstrnlen(event->id.string, 8))))};
    }
    return collector->owner->isCancelled(collector->utterance) ? 1 : 0;
}

int espeakPitch(int hz, int base)
{
    if (hz <= 0)
        return base;
    return std::clamp(int(std::lround((hz - SpeechTags::MinPitch) * 100.0 /
                                      (SpeechTags::MaxPitch - SpeechTags::MinPitch))),
                      0, 100);
}

} // namespace

SpeechSynthesizer::SpeechSynthesizer() = default;

SpeechSynthesizer::~SpeechSynthesizer()
{
    if (m_engineState == 1)
        espeak_Terminate();
}

QList<std::pair<int, int>> SpeechSynthesizer::splitText(const QString &text, int maxLength)
{
    QList<std::pair<int, int>> parts;
    const int size = int(text.size());
    int start = 0;
    while (start < size) {
        int end = std::min(size, start + maxLength);
        if (end < size) {
            // Prefer the last sentence or clause end, then the last space, within the limit.
            int cut = -1;
            for (int i = end - 1; i > start; --i) {
                const QChar c = text.at(i);
                if ((c == u'.' || c == u'!' || c == u'?' || c == u';' || c == u'\n') &&
                    i + 1 < size && text.at(i + 1).isSpace()) {
                    cut = i + 1;
                    break;
                }
            }
            if (cut < 0) {
                for (int i = end - 1; i > start; --i) {
                    if (text.at(i).isSpace()) {
                        cut = i + 1;
                        break;
                    }
                }
            }
            if (cut > start)
                end = cut;
            if (end < size && text.at(end - 1).isHighSurrogate())
                --end;
        }
        parts.append({start, end - start});
        start = end;
    }
    return parts;
}

bool SpeechSynthesizer::ensureEngine()
{
    if (m_engineState == 0) {
        const int rate =
                espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 200, nullptr,
                                  espeakINITIALIZE_PHONEME_EVENTS | espeakINITIALIZE_DONT_EXIT);
        m_engineState = rate == SpeechFormat::SampleRate ? 1 : -1;
        if (m_engineState == 1)
            espeak_SetSynthCallback(synthCallback);
    }
    return m_engineState == 1;
}

void SpeechSynthesizer::start(quint64 utterance, const SpeechScript &script, const QString &voice,
                              int rate, int basePitch)
{
    Job job;
    job.script = script;
    job.voice = voice;
    job.rate = rate;
    job.pitch = std::clamp(basePitch, 0, 100);
    for (int i = 0; i < script.pieces.size(); ++i) {
        const SpeechPiece &piece = script.pieces.at(i);
        if (piece.kind != SpeechPiece::Kind::Text) {
            job.segments << Segment{i, 0, 0};
        } else if (piece.kind == SpeechPiece::Kind::Text) {
            for (const auto &[start, length] : splitText(piece.spoken, kMaxSegment))
                job.segments << Segment{i, start, length};
        }
    }
    m_jobs.insert(utterance, job);
    produce(utterance, kBatchSamples);
}

void SpeechSynthesizer::more(quint64 utterance)
{
    produce(utterance, kBatchSamples);
}

void SpeechSynthesizer::cancel(quint64 utterance)
{
    m_jobs.remove(utterance);
}

void SpeechSynthesizer::produce(quint64 utterance, qint64 targetSamples)
{
    auto it = m_jobs.find(utterance);
    if (it == m_jobs.end())
        return;
    qint64 produced = 0;
    while (produced < targetSamples) {
        if (isCancelled(utterance)) {
            m_jobs.erase(it);
            return;
        }
        Job &job = it.value();
        if (job.next >= job.segments.size()) {
            SpeechChunk end;
            end.utterance = utterance;
            end.last = true;
            end.cues << SpeechCue{0, SpeechCue::Kind::Reveal, int(job.script.shownText().size())};
            end.cues << SpeechCue{0, SpeechCue::Kind::Mouth, int(MouthShape::Closed)};
            m_jobs.erase(it);
            emit chunkReady(end);
            return;
        }
        const Segment segment = job.segments.at(job.next++);
        SpeechChunk chunk = synthesize(utterance, job, segment);
        produced += chunk.samples();
        emit chunkReady(chunk);
        it = m_jobs.find(utterance); // a queued cancel cannot run here, but stay safe
        if (it == m_jobs.end())
            return;
    }
}

SpeechChunk SpeechSynthesizer::synthesize(quint64 utterance, const Job &job, const Segment &segment)
{
    SpeechChunk chunk;
    chunk.utterance = utterance;
    const SpeechPiece &piece = job.script.pieces.at(segment.piece);
    if (piece.kind == SpeechPiece::Kind::Pause) {
        chunk.pcm = QByteArray(SpeechFormat::msToSamples(piece.value) * 2, '\0');
        chunk.cues << SpeechCue{0, SpeechCue::Kind::Mouth, int(MouthShape::Closed)};
        return chunk;
    }
    if (piece.kind == SpeechPiece::Kind::Mark) {
        chunk.cues << SpeechCue{0, SpeechCue::Kind::Mark, piece.value};
        return chunk;
    }
    const QString text = piece.spoken.mid(segment.start, segment.length);
    const int endOffset = segment.start + segment.length;
    Collector collector;
    collector.owner = this;
    collector.utterance = utterance;
    if (!text.trimmed().isEmpty() && ensureEngine()) {
        const QString voice =
                piece.whisper ? job.voice.section(u'+', 0, 0) + u"+whisper"_s : job.voice;
        if (voice != m_voice) {
            if (espeak_SetVoiceByName(voice.toUtf8().constData()) != EE_OK)
                espeak_SetVoiceByName(voice.section(u'+', 0, 0).toUtf8().constData());
            m_voice = voice;
        }
        espeak_SetParameter(espeakRATE,
                            std::clamp(piece.speed > 0 ? piece.speed : job.rate,
                                       int(espeakRATE_MINIMUM), int(espeakRATE_MAXIMUM)),
                            0);
        espeak_SetParameter(espeakVOLUME, int(qint64(piece.volume) * 100 / 65535), 0);
        espeak_SetParameter(espeakPITCH, espeakPitch(piece.pitch, job.pitch), 0);
        espeak_SetParameter(espeakRANGE, piece.monotone ? 0 : 50, 0);
        const QByteArray utf8 = text.toUtf8();
        t_collector = &collector;
        espeak_Synth(utf8.constData(), size_t(utf8.size()) + 1, 0, POS_CHARACTER, 0,
                     espeakCHARS_UTF8, nullptr, nullptr);
        t_collector = nullptr;
    }
    chunk.pcm = std::move(collector.pcm);
    const qint64 total = chunk.samples();

    // espeak-ng counts code points; QString counts UTF-16 units.
    QList<int> unitOfCodePoint;
    for (int i = 0; i < text.size(); ++i) {
        if (!(text.at(i).isLowSurrogate() && i > 0 && text.at(i - 1).isHighSurrogate()))
            unitOfCodePoint << i;
    }
    // Each word is revealed when the voice reaches it; words without an event get a time
    // between their neighbours in proportion to their place in the text.
    static const QRegularExpression wordPattern(u"\\S+"_s);
    struct Word
    {
        int start = 0;
        int end = 0;
        qint64 sample = -1;
    };
    QList<Word> words;
    for (auto match = wordPattern.globalMatch(text); match.hasNext();) {
        const auto m = match.next();
        words << Word{int(m.capturedStart()), int(m.capturedEnd()), -1};
    }
    for (const WordEvent &event : collector.words) {
        if (event.codePoint < 0 || event.codePoint >= unitOfCodePoint.size())
            continue;
        const int unit = unitOfCodePoint.at(event.codePoint);
        for (Word &word : words) {
            if (unit >= word.start && unit < word.end) {
                if (word.sample < 0)
                    word.sample = std::min(event.sample, total);
                break;
            }
        }
    }
    int known = -1;
    for (int i = 0; i < words.size(); ++i) {
        if (words[i].sample >= 0) {
            known = i;
            continue;
        }
        int nextKnown = i + 1;
        while (nextKnown < words.size() && words[nextKnown].sample < 0)
            ++nextKnown;
        const int fromChar = known >= 0 ? words[known].start : 0;
        const qint64 fromSample = known >= 0 ? words[known].sample : 0;
        const int toChar = nextKnown < words.size() ? words[nextKnown].start : int(text.size());
        const qint64 toSample = nextKnown < words.size() ? words[nextKnown].sample : total;
        const int span = std::max(1, toChar - fromChar);
        words[i].sample = fromSample + (toSample - fromSample) * (words[i].start - fromChar) / span;
        words[i].sample = std::max(words[i].sample, fromSample);
    }
    for (const Word &word : words)
        chunk.cues << SpeechCue{word.sample, SpeechCue::Kind::Reveal,
                                job.script.shownOffset(segment.piece, segment.start + word.end)};
    for (const PhonemeEvent &phoneme : collector.phonemes)
        chunk.cues << SpeechCue{std::min(phoneme.sample, total), SpeechCue::Kind::Mouth,
                                phoneme.shape};
    chunk.cues << SpeechCue{total, SpeechCue::Kind::Mouth, int(MouthShape::Closed)};
    chunk.cues << SpeechCue{total, SpeechCue::Kind::Reveal,
                            job.script.shownOffset(segment.piece, endOffset)};
    std::stable_sort(chunk.cues.begin(), chunk.cues.end(),
                     [](const SpeechCue &a, const SpeechCue &b) { return a.sample < b.sample; });
    return chunk;
}
