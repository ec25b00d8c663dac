#pragma once

#include "character/ClsTxt.h"

#include <QString>
#include <map>
#include <memory>

class CharacterActions;

// One phrase speaker per phrase file, created on first use and kept for the whole run, so
// each file keeps its own place.
class PhraseBook final
{
public:
    // The shipped phrase files and the occasions that speak them.
    static inline const QString Reminder = QStringLiteral("Reminder.txt");
    static inline const QString Click = QStringLiteral("click.txt");
    static inline const QString Move = QStringLiteral("move.txt");
    static inline const QString Thinking = QStringLiteral("thinking.txt");
    static inline const QString Feed = QStringLiteral("feed.txt");
    static inline const QString HideLine = QStringLiteral("hide.txt");
    static inline const QString SearchWeb = QStringLiteral("SearchWeb.txt");
    static inline const QString ReadText = QStringLiteral("ReadText.txt");

    // `folder` defaults to the program folder.
    explicit PhraseBook(CharacterActions &character, QString folder = {});
    PhraseBook(const PhraseBook &) = delete;
    PhraseBook &operator=(const PhraseBook &) = delete;

    ClsTxt &speaker(const QString &fileName);

private:
    CharacterActions &m_character;
    QString m_folder;
    std::map<QString, std::unique_ptr<ClsTxt>> m_speakers;
};
