#pragma once

#include "agent/AgentCommands.h"
#include "agent/AgentSettings.h"
#include "agent/CharacterData.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRandomGenerator>
#include <memory>

class AgentClock;
class BalloonWindow;
class CharacterRuntime;
class CharacterWindow;
class QSystemTrayIcon;
class SpeechOutput;

// One loaded character: the operations and properties the program uses, names as the
// component has always had them. Requests queue and play in order; failures (an unknown
// animation, speaking while hidden) complete at once. Events go out through its owner,
// the Characters control, with the character's id.
class AgentCharacter final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AgentCharacter)

public:
    // Causes of a Hide event.
    static constexpr int ProgramHid = 3;
    static constexpr int UserHidViaCharacterMenu = 7;

    AgentCharacter(const QString &id, std::shared_ptr<const CharacterData> data, AgentClock &clock,
                   const AgentSettings &settings, QObject *parent = nullptr);
    ~AgentCharacter() override;

    QString id() const { return m_id; }

    void Show();
    void Hide();
    void Play(const QString &animation);
    void Speak(const QString &text);
    void Think(const QString &text);
    void Stop();
    void StopAll();
    // Walks so the top-left corner reaches (x, y) in screen pixels.
    void MoveTo(int x, int y);
    // No state (or 1): the input-active character. 2: above all other windows.
    void Activate(int state = 1);

    bool Visible() const;
    int Width() const;
    int Height() const;
    int Left() const;
    int Top() const;
    QString Name() const { return m_name; }
    void setName(const QString &name);
    QString GUID() const;
    bool SoundEffectsOn() const { return m_soundEffects; }
    void setSoundEffectsOn(bool on) { m_soundEffects = on; }
    int LanguageID() const { return m_languageId; }
    void setLanguageID(int id) { m_languageId = id; }
    QString TTSModeID() const { return m_ttsModeId; }
    void setTTSModeID(const QString &modeId);
    bool IdleOn() const;
    void setIdleOn(bool on);
    bool AutoPopupMenu() const { return m_autoPopupMenu; }
    void setAutoPopupMenu(bool on) { m_autoPopupMenu = on; }
    AgentCommands &Commands() { return m_commands; }

    void applySettings(const AgentSettings &settings);
    // Leaves the screen and falls silent for good; the object may still be running an
    // event handler, so it is deleted later.
    void retire();
    const std::shared_ptr<const CharacterData> &data() const { return m_data; }
    CharacterRuntime &runtime() const { return *m_runtime; }
    CharacterWindow *window() const { return m_window.get(); }
    BalloonWindow *balloon() const { return m_balloon.get(); }
    SpeechOutput *speech() const { return m_speech; }
    // Null only for a character without a rest pose; docked whenever a tray is there.
    QSystemTrayIcon *trayIcon() const;

signals:
    void clicked(int button, int shift, int x, int y);
    void doubleClicked(int button, int shift, int x, int y);
    void dragCompleted(int button, int shift, int x, int y);
    void hidden(int cause);
    void activated(int state);
    void commandChosen(const QString &name);

private:
    void redraw();
    void place(const QPoint &topLeft);
    void visibilityChanged(bool visible);
    void updateBounds();
    void rightClicked(int button, int shift, const QPoint &at);
    void createTrayIcon();
    QRect characterRect() const;

    QString m_id;
    std::shared_ptr<const CharacterData> m_data;
    QRandomGenerator m_random;
    CharacterRuntime *m_runtime;
    SpeechOutput *m_speech;
    std::unique_ptr<CharacterWindow> m_window;
    std::unique_ptr<BalloonWindow> m_balloon;
    QPointer<QSystemTrayIcon> m_tray;
    AgentCommands m_commands;
    AgentSettings m_settings;
    QString m_name;
    QString m_ttsModeId;
    int m_languageId = 1033;
    int m_hideCause = ProgramHid;
    bool m_soundEffects = true;
    bool m_autoPopupMenu = true;
};
