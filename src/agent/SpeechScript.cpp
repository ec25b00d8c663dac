#include "agent/SpeechScript.h"

#include <algorithm>

QString SpeechScript::shownText() const
{
    QString text;
    for (const SpeechPiece &piece : pieces)
        text += piece.shown;
    return text;
}

int SpeechScript::shownOffset(int piece, int spokenOffset) const
{
    if (piece < 0 || piece >= pieces.size())
        return shownText().size();
    const SpeechPiece &p = pieces.at(piece);
    const int spokenLength = int(p.spoken.size());
    const int offset = std::clamp(spokenOffset, 0, spokenLength);
    if (p.spoken == p.shown || spokenLength == 0)
        return p.shownStart + std::min(offset, int(p.shown.size()));
    return p.shownStart + int(qint64(offset) * p.shown.size() / spokenLength);
}

bool SpeechScript::hasSpeech() const
{
    return std::any_of(pieces.cbegin(), pieces.cend(), [](const SpeechPiece &p) {
        return (p.kind == SpeechPiece::Kind::Text && !p.spoken.trimmed().isEmpty()) ||
               (p.kind == SpeechPiece::Kind::Pause && p.value > 0);
    });
}
