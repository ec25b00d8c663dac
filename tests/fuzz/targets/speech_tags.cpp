// Speech tags in Speak texts (SpeechTags::parse). Properties: every value lies in its
// documented range, pieces know where their shown text starts, and the balloon text holds
// no tag the parser acted on.
#include "FuzzSupport.h"
#include "agent/SpeechTags.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(Fuzz::bytes(data, size));
    const SpeechScript script = SpeechTags::parse(text);
    const QString shown = script.shownText();

    qsizetype shownSoFar = 0;
    for (qsizetype i = 0; i < script.pieces.size(); ++i) {
        const SpeechPiece &piece = script.pieces.at(i);
        const QString where = QStringLiteral("piece %1 of ").arg(i) + text;
        FUZZ_CHECK(piece.volume >= 0 && piece.volume <= 65535, where);
        FUZZ_CHECK(piece.speed == 0 || (piece.speed >= SpeechTags::MinSpeed &&
                                        piece.speed <= SpeechTags::MaxSpeed),
                   where);
        FUZZ_CHECK(piece.pitch == 0 || (piece.pitch >= SpeechTags::MinPitch &&
                                        piece.pitch <= SpeechTags::MaxPitch),
                   where);
        FUZZ_CHECK(piece.value >= 0, where);
        if (piece.kind == SpeechPiece::Kind::Pause)
            FUZZ_CHECK(piece.value <= SpeechTags::MaxPauseMs, where);
        FUZZ_CHECK(piece.shownStart == shownSoFar, where);
        if (piece.kind == SpeechPiece::Kind::Text) {
            FUZZ_CHECK(!piece.spoken.isEmpty() || !piece.shown.isEmpty(), where);
            FUZZ_CHECK(shown.mid(piece.shownStart, piece.shown.size()) == piece.shown, where);
            shownSoFar += piece.shown.size();
            for (int spoken : {0, int(piece.spoken.size()) / 2, int(piece.spoken.size())}) {
                const int offset = script.shownOffset(int(i), spoken);
                FUZZ_CHECK(offset >= piece.shownStart &&
                                   offset <= piece.shownStart + piece.shown.size(),
                           where + QStringLiteral(" offset %1").arg(offset));
            }
        }
    }
    FUZZ_CHECK(shownSoFar == shown.size(), text);
    // Without any backslash there is nothing to read: the text stays as it is.
    if (!text.contains(u'\\'))
        FUZZ_CHECK(shown == text && (text.trimmed().isEmpty() || script.hasSpeech()), text);
    return 0;
}
