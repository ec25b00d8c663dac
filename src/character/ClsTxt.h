#pragma once

#include <QString>

class CharacterActions;

// One phrase speaker: speaks its phrase file one line per occasion, in turn, each line
// optionally naming the animation to play with it. The place in the file lives only as long
// as the object (nothing is saved between runs).
class ClsTxt final
{
public:
    // `folder` holds the phrase files (the program folder).
    ClsTxt(CharacterActions &character, QString folder, QString fileName = {});

    QString FileName() const { return m_fileName; }
    void setFileName(const QString &fileName) { m_fileName = fileName; }
    int counter() const { return m_counter; }

    // Plays the line's animation, then speaks its text.
    void Read();
    // Plays the line's animation, then shows its text as a thought.
    void Think();
    // Shows the character, empties its queue, eats, and speaks the whole line.
    void Feed();
    // Speaks the whole line (said just before the character hides).
    void Hide();

private:
    QString nextPhraseLine();
    // Plays piece 1 (if any), then hands piece 0 to `say`.
    template <typename Say>
    void playAndSay(Say say);

    CharacterActions &m_character;
    QString m_folder;
    QString m_fileName;
    int m_counter = 0;
};
