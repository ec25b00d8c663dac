#pragma once

#include "agent/AgentSettings.h"

#include <QMap>
#include <QObject>
#include <QPointer>
#include <QString>

class AgentCharacter;
class AgentClock;
class AgentPropertySheet;

// The character control: loads characters under ids ("Agent0", "Agent1", ...), hands out
// the character objects, owns the settings sheet and raises the events with the id of the
// character concerned. A character file is decoded once and shared by every id using it.
class Characters final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Characters)

public:
    explicit Characters(QObject *parent = nullptr);
    Characters(AgentClock &clock, QObject *parent);
    ~Characters() override;

    // Loads a character file under an id, replacing what was there; false (and nothing
    // under the id) when the file cannot be read; lastError() says why.
    bool Load(const QString &id, const QString &path);
    void Unload(const QString &id);
    // The character under an id, or nullptr.
    AgentCharacter *operator()(const QString &id) const { return Character(id); }
    AgentCharacter *Character(const QString &id) const;
    QStringList ids() const;
    QString lastError() const { return m_lastError; }
    // The input-active character (the last one activated).
    QString activeId() const { return m_activeId; }

    // The settings sheet: PropertySheet().setVisible(true) opens it.
    AgentPropertySheet &PropertySheet();
    AgentSettings settings() const { return m_settings; }
    // Stores and applies settings as the sheet does; a new default character raises
    // DefaultCharacterChange.
    void applySettings(const AgentSettings &settings);
    // Folder whose character files the sheet offers as default.
    void setCharactersFolder(const QString &folder) { m_charactersFolder = folder; }

signals:
    void Click(const QString &id, int button, int shift, int x, int y);
    void DblClick(const QString &id, int button, int shift, int x, int y);
    void DragComplete(const QString &id, int button, int shift, int x, int y);
    void Hide(const QString &id, int cause);
    void Command(const QString &name);
    void DefaultCharacterChange(const QString &guid);

private:
    void connectEvents(AgentCharacter *character);

    AgentClock &m_clock;
    QMap<QString, AgentCharacter *> m_characters; // ids compared without regard to case
    QPointer<AgentPropertySheet> m_sheet;
    AgentSettings m_settings;
    QString m_charactersFolder;
    QString m_lastError;
    QString m_activeId;
    int m_activeState = 0;
};
