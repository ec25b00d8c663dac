#include "character/CharacterEvents.h"

#include "agent/AgentCharacter.h"
#include "agent/AgentPropertySheet.h"
#include "agent/Characters.h"
#include "base/Clock.h"
#include "character/BehaviourTimers.h"
#include "character/CharacterBehaviour.h"
#include "character/CharacterManager.h"
#include "character/CharacterMenu.h"
#include "character/Greeting.h"
#include "character/PhraseBook.h"
#include "character/Placement.h"
#include "character/QuitSequence.h"
#include "character/WebTextSpeaker.h"
#include "settings/AppState.h"

#include <QCursor>

namespace {} // namespace

CharacterEvents::CharacterEvents(const Parts &parts, QObject *parent)
    : QObject(parent)
    , m_parts(parts)
{
    Characters &control = m_parts.characters.control();
    connect(&control, &Characters::Click, this, &CharacterEvents::Click);
    connect(&control, &Characters::DblClick, this, &CharacterEvents::DblClick);
    connect(&control, &Characters::DragComplete, this, &CharacterEvents::DragComplete);
    connect(&control, &Characters::Hide, this, &CharacterEvents::Hide);
    connect(&control, &Characters::Command, this, &CharacterEvents::Command);
    connect(&control, &Characters::DefaultCharacterChange, this,
            &CharacterEvents::DefaultCharacterChange);
    connectBehaviour();
}

void CharacterEvents::connectBehaviour()
{
    CharacterManager &characters = m_parts.characters;
    BehaviourTimers &timers = m_parts.timers;
    connect(&timers, &BehaviourTimers::moveToPointer, this,
            [&characters] { characters.moveTo(QCursor::pos()); });
    connect(&timers, &BehaviourTimers::placeHome, this, [&characters] { characters.placeHome(); });
    connect(&timers, &BehaviourTimers::showIfHidden, this, [&characters] {
        AgentCharacter *character = characters.CurrentChar();
        if (character && !character->Visible())
            characters.ShowCharacter(character);
    });
    connect(&timers, &BehaviourTimers::placeRandom, this, [&characters] {
        characters.PlaceCharacter(characters.CurrentChar(), Placement::Random, true);
    });
    connect(&timers, &BehaviourTimers::speakWebGreeting, this,
            [this] { m_parts.web.SpeakWebText(WebTextSpeaker::GreetingPath); });
    connect(&timers, &BehaviourTimers::idleOnAgain, this, [&characters] {
        if (AgentCharacter *character = characters.CurrentChar())
            character->setIdleOn(true);
    });
    connect(&timers, &BehaviourTimers::thinkAloud, this,
            [this] { m_parts.phrases.speaker(PhraseBook::Thinking).Think(); });
}

void CharacterEvents::Click(const QString &id, int button, int, int, int)
{
    if (m_parts.quit.Quitting())
        return;
    CharacterManager &characters = m_parts.characters;
    characters.select(id);
    switch (CharacterBehaviour::click(button)) {
    case CharacterBehaviour::Click::Home:
        characters.stopAll();
        m_parts.phrases.speaker(PhraseBook::Click).Read();
        characters.placeHome();
        break;
    case CharacterBehaviour::Click::Menu:
        m_parts.menu.UpadateMnu();
        m_parts.menu.RefreshMenuLists();
        if (CharacterBehaviour::menuMayOpen(appState().LastActionTime, Clock::currentDateTime()))
            m_parts.menu.popup(QCursor::pos());
        break;
    case CharacterBehaviour::Click::Nothing:
        break;
    }
}

void CharacterEvents::DblClick(const QString &, int, int, int, int)
{
    if (!m_parts.quit.Quitting())
        m_parts.characters.placeHome();
}

void CharacterEvents::DragComplete(const QString &id, int, int, int, int)
{
    if (m_parts.quit.Quitting() || id.isEmpty())
        return;
    m_parts.characters.stopAll();
    m_parts.phrases.speaker(PhraseBook::Move).Read();
}

void CharacterEvents::Hide(const QString &, int)
{
    m_parts.quit.hideEvent();
}

void CharacterEvents::Command(const QString &name)
{
    if (m_parts.quit.Quitting())
        return;
    if (name.compare(u"AdvCharOptions", Qt::CaseInsensitive) == 0)
        m_parts.characters.control().PropertySheet().setVisible(true);
    else if (name.compare(u"Quit", Qt::CaseInsensitive) == 0)
        m_parts.quit.quit();
}

void CharacterEvents::DefaultCharacterChange(const QString &)
{
    if (m_parts.quit.Quitting())
        return;
    AgentCharacter *character = m_parts.characters.CurrentChar();
    if (!character)
        return;
    character->Stop();
    m_parts.characters.SpeakText(Greeting::introduction(character->Name(), appState().UserName));
}
