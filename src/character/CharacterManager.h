#pragma once

#include "character/CharacterActions.h"
#include "character/CharacterRoster.h"
#include "reminders/ReminderCharacter.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

class AgentCharacter;
class Characters;
struct SettingsHooks;

// The program's characters: which file is loaded under which id, the main character every
// other part speaks through, its voice and its place on the screen. Serves the character's
// own behaviour (CharacterActions) and the reminders (ReminderCharacter) over the real
// character component. Every operation ignores failures: with no character loaded, speech
// and animation requests do nothing.
class CharacterManager final : public QObject, public CharacterActions, public ReminderCharacter
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CharacterManager)

public:
    // `hooks` are the steps of LoadSettings, which every load of the main character runs.
    CharacterManager(Characters &control, const SettingsHooks &hooks, QObject *parent = nullptr);
    ~CharacterManager() override;

    Characters &control() const { return m_control; }
    AgentCharacter *CurrentChar() const;
    QString CurrentCharId() const { return m_roster.CurrentCharId(); }
    const QStringList &CharIds() const { return m_roster.CharIds(); }
    int ExtraCharCount() const { return m_roster.ExtraCharCount(); }
    // Loaded characters in all (the quit waits for as many Hide events).
    int count() const { return m_roster.count(); }

    // A second copy of the program loads its character without storing the choice.
    void setStoresChoice(bool stores) { m_storesChoice = stores; }

    // Program start (`startUp`): the main character from option "Char" under "Agent0";
    // otherwise the main character is replaced by `fileName` under its id. Loads the
    // settings in between (LoadSettings). A file that cannot be loaded gives way to the
    // character shown before, the shipped default or the first file that loads, and the one
    // shown is stored. False when the asked-for file could not be loaded.
    bool LoadCharacter(bool startUp, const QString &fileName);
    // An extra character beside the main one; a file already shown is not added twice.
    bool AddCharacter(const QString &fileName);
    // Only while extra characters are loaded; the first remaining one becomes current.
    bool RemoveCharacter(const QString &id);
    // A click made this character the current one.
    bool select(const QString &id);

    void PrepareCharacter(AgentCharacter *character);
    void ShowCharacter(AgentCharacter *character);
    void SpeakText(const QString &text);
    void SetVoice(const QString &voiceName, bool sayIt);
    void PlaceCharacter(AgentCharacter *character, int position, bool showFirst);
    // The home position of option "CharPos", shown first.
    void placeHome();

    // The text of a spoken request: the volume tag first.
    static QString withVolume(const QString &text, int volume);

    // CharacterActions
    void play(const QString &animation) override;
    void speakText(const QString &text) override { SpeakText(text); }
    void think(const QString &text) override;
    void showCharacter() override { ShowCharacter(CurrentChar()); }
    void stopAll() override;
    void moveTo(const QPoint &topLeft) override;

    // ReminderCharacter
    void bringToTop() override;
    void decline() override;
    void speakReminder(const QString &key, const QString &spokenText) override;
    void stopReminder(const QString &key) override;

private:
    void setUp(AgentCharacter *character);
    struct ReminderSpeech
    {
        QPointer<AgentCharacter> character;
        quint64 request = 0;
    };

    Characters &m_control;
    const SettingsHooks &m_hooks;
    CharacterRoster m_roster;
    QString m_defaultVoiceId;
    bool m_storesChoice = true;
    // The speech request of each announced reminder, by the reminder's key.
    QHash<QString, ReminderSpeech> m_reminderSpeech;
};
