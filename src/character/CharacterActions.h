#pragma once

class QPoint;
class QString;

// What the character's own behaviour needs from the main character: the start-up connects
// this to the real character component. Every call ignores failures (an unknown animation
// plays nothing).
class CharacterActions
{
public:
    virtual ~CharacterActions() = default;

    // Plays an animation by name (names are case-insensitive).
    virtual void play(const QString &animation) = 0;
    // The one speech routine: shows and activates the character, puts the volume tag first.
    virtual void speakText(const QString &text) = 0;
    // A thought balloon without voice.
    virtual void think(const QString &text) = 0;
    virtual void showCharacter() = 0;
    // Empties the character's request queue.
    virtual void stopAll() = 0;
    // Moves the character's top-left corner to a screen position (pixels).
    virtual void moveTo(const QPoint &topLeft) = 0;
};
