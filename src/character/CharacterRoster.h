#pragma once

#include <QString>
#include <QStringList>

// Which characters are loaded under which ids: the main one ("Agent0" at start) and the
// extra ones a user adds beside it. The character component loads and unloads the files;
// this keeps CharIds, ExtraCharCount and CurrentCharId consistent.
class CharacterRoster final
{
public:
    static QString idFor(int number) { return QStringLiteral("Agent%1").arg(number); }

    // Program start: the main character's id becomes the first and only one.
    void startMain();

    const QStringList &CharIds() const { return m_ids; }
    int ExtraCharCount() const { return m_extraCount; }
    QString CurrentCharId() const { return m_currentId; }
    // Loaded characters in all: the quit waits for this many Hide events.
    int count() const { return m_ids.size(); }

    // The id for the next extra character: from ExtraCharCount + 1 up, the first one free.
    QString nextExtraId() const;
    // An extra character was loaded and is not a duplicate: count it.
    void addExtra(const QString &id);
    // Only while extra characters are loaded, and only a loaded id; the current character
    // then becomes the first remaining one. False when refused.
    bool remove(const QString &id);
    // A click made this character the current one; false for an id not loaded.
    bool select(const QString &id);

private:
    QStringList m_ids;
    int m_extraCount = 0;
    QString m_currentId;
};
