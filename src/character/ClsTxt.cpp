#include "character/ClsTxt.h"

#include "base/AppPaths.h"
#include "base/TextDecoding.h"
#include "character/CharacterActions.h"
#include "character/PhraseLine.h"

ClsTxt::ClsTxt(CharacterActions &character, QString folder, QString fileName)
    : m_character(character)
    , m_folder(std::move(folder))
    , m_fileName(std::move(fileName))
{}

QString ClsTxt::nextPhraseLine()
{
    // Read afresh each time: the user may edit, delete or restore the file while we run.
    return PhraseLine::next(TextDecoding::readFile(AppPaths::join(m_folder, m_fileName)),
                            m_counter);
}

template <typename Say>
void ClsTxt::playAndSay(Say say)
{
    const QStringList pieces = PhraseLine::pieces(nextPhraseLine());
    if (pieces.isEmpty())
        return;
    if (pieces.size() > 1)
        m_character.play(pieces.at(1).trimmed());
    say(pieces.at(0));
}

void ClsTxt::Read()
{
    playAndSay([this](const QString &text) { m_character.speakText(text); });
}

void ClsTxt::Think()
{
    playAndSay([this](const QString &text) { m_character.think(text); });
}

void ClsTxt::Feed()
{
    const QString line = nextPhraseLine();
    m_character.showCharacter();
    m_character.stopAll();
    m_character.play(QStringLiteral("idle3_3"));
    m_character.speakText(line);
}

void ClsTxt::Hide()
{
    m_character.speakText(nextPhraseLine());
}
