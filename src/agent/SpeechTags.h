#pragma once

#include "agent/SpeechScript.h"

#include <QString>

// Reads the speech tags of a Speak text (\Vol=n\, \Pau=n\, \Spd=n\, \Pit=n\, \Mrk=n\,
// \Emp\, \Chr="..."\, \Map="spoken"="shown"\, \Rst\; names without regard to case) into
// a SpeechScript. The component's other tags (\Ctx\, \Lst\, ...) and malformed values are
// dropped from voice and balloon; a backslash that starts no known tag is kept as text, and
// "\\" is a literal backslash.
class SpeechTags final
{
public:
    static SpeechScript parse(const QString &text);

    static constexpr int MaxPauseMs = 30000;
    static constexpr int MinSpeed = 50;
    static constexpr int MaxSpeed = 450;
    static constexpr int MinPitch = 50;
    static constexpr int MaxPitch = 400;
};
