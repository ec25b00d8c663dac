#pragma once

#include <QList>
#include <QString>

// The neutral form of one Speak text: what the voice says and what the balloon shows, in
// pieces that each carry the settings in force where they start. Tags set values up to the
// end of the text they came in; nothing carries over to the next Speak.
struct SpeechPiece
{
    enum class Kind { Text, Pause, Mark };

    Kind kind = Kind::Text;
    QString spoken;        // what the voice says (Text)
    QString shown;         // what the balloon shows (Text)
    int value = 0;         // milliseconds (Pause) or bookmark number (Mark)
    int volume = 65535;    // 0..65535
    int speed = 0;         // words per minute, 0 = the user's speaking speed
    int pitch = 0;         // base pitch in Hz, 0 = the voice's own
    bool emphasis = false; // stress the first word of this piece
    bool whisper = false;
    bool monotone = false;
    int shownStart = 0; // offset of `shown` in shownText()
};

struct SpeechScript
{
    QList<SpeechPiece> pieces;

    // The balloon text: every tag removed, mapped texts replaced by their shown form.
    QString shownText() const;
    // Offset into shownText() reached when the voice is `spokenOffset` characters into
    // the spoken text of `piece`; a mapped text is revealed in proportion.
    int shownOffset(int piece, int spokenOffset) const;
    bool hasSpeech() const;
};
