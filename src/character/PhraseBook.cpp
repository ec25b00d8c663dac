#include "character/PhraseBook.h"

#include "base/AppPaths.h"

PhraseBook::PhraseBook(CharacterActions &character, QString folder)
    : m_character(character)
    , m_folder(folder.isEmpty() ? AppPaths::programFolder() : std::move(folder))
{}

ClsTxt &PhraseBook::speaker(const QString &fileName)
{
    auto &slot = m_speakers[fileName];
    if (!slot)
        slot = std::make_unique<ClsTxt>(m_character, m_folder, fileName);
    return *slot;
}
