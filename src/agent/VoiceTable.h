#pragma once

#include <QString>
#include <QStringList>

// The voices the program offers by name, their voice mode ids, and the espeak-ng voice
// each id speaks with. Every listed voice is a distinct espeak-ng variant.
class VoiceTable final
{
public:
    // The voice mode id of a listed voice name (compared exactly); empty for any other name.
    static QString modeIdForName(const QString &voiceName);
    // The espeak-ng voice for a voice mode id (case-insensitive, braces optional). An id the
    // table does not list is taken as an espeak-ng voice name when it looks like one
    // (a character file may name one directly); otherwise `fallback`.
    static QString espeakVoiceFor(const QString &modeId, const QString &fallback);
    static QStringList voiceNames();

    static constexpr const char *DefaultEspeakVoice = "en-us";
};
