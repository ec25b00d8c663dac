#pragma once

#include <QObject>

class BehaviourTimers;
class CharacterManager;
class CharacterMenu;
class PhraseBook;
class QuitSequence;
class WebTextSpeaker;

// The character's answers to the user's mouse and to the component's events, and what
// the behaviour timers' ticks ask of it. While the program quits, only Hide counts.
class CharacterEvents final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CharacterEvents)

public:
    struct Parts
    {
        CharacterManager &characters;
        PhraseBook &phrases;
        BehaviourTimers &timers;
        CharacterMenu &menu;
        QuitSequence &quit;
        WebTextSpeaker &web;
    };

    explicit CharacterEvents(const Parts &parts, QObject *parent = nullptr);

    void Click(const QString &id, int button, int shift, int x, int y);
    void DblClick(const QString &id, int button, int shift, int x, int y);
    void DragComplete(const QString &id, int button, int shift, int x, int y);
    void Hide(const QString &id, int cause);
    void Command(const QString &name);
    void DefaultCharacterChange(const QString &guid);

private:
    void connectBehaviour();

    Parts m_parts;
};
