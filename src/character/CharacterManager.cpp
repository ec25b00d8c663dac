#include "character/CharacterManager.h"

#include "agent/AgentCharacter.h"
#include "agent/CharacterRuntime.h"
#include "agent/Characters.h"
#include "agent/VoiceTable.h"
#include "base/AppPaths.h"
#include "base/AppTitle.h"
#include "character/Placement.h"
#include "settings/AppState.h"
#include "settings/OptionKeys.h"
#include "settings/OptionValues.h"
#include "settings/SettingsRoutines.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>

namespace {

// The character component's own language (US English) for every character.
constexpr int EnglishUs = 1033;

} // namespace

CharacterManager::CharacterManager(Characters &control, const SettingsHooks &hooks, QObject *parent)
    : QObject(parent)
    , m_control(control)
    , m_hooks(hooks)
{}

CharacterManager::~CharacterManager() = default;

AgentCharacter *CharacterManager::CurrentChar() const
{
    const QString id = m_roster.CurrentCharId();
    return id.isEmpty() ? nullptr : m_control.Character(id);
}

void CharacterManager::setUp(AgentCharacter *character)
{
    character->setSoundEffectsOn(false);
    character->setLanguageID(EnglishUs);
    character->setName(AppTitle());
}

bool CharacterManager::LoadCharacter(bool startUp, const QString &fileName)
{
    AppState &state = appState();
    const QString previous = state.CharFile;
    if (startUp) {
        state.CharFile = OptionKeys::read(OptionKeys::Char, SettingsStore());
        m_roster.startMain();
    } else {
        m_control.Unload(m_roster.CurrentCharId());
        state.CharFile = fileName;
    }
    const auto load = [&](const QString &file) {
        return m_control.Load(m_roster.CurrentCharId(), AppPaths::join(state.CharsDir, file));
    };
    const bool loaded = load(state.CharFile);
    if (!loaded) {
        // Without a character there is no menu and no way to quit: another one stands in,
        // the one shown before, the shipped default, or the first file that loads.
        qWarning("Cannot load the character %s: %s", qPrintable(state.CharFile),
                 qPrintable(m_control.lastError()));
        QStringList others{OptionKeys::defaultCharacterFile()};
        if (!startUp && !previous.isEmpty())
            others.prepend(previous);
        others += QDir(state.CharsDir)
                          .entryList({QStringLiteral("*.acs")}, QDir::Files,
                                     QDir::Name | QDir::IgnoreCase);
        for (const QString &other : std::as_const(others)) {
            if (other.compare(state.CharFile, Qt::CaseInsensitive) != 0 && load(other)) {
                qInfo("Loaded the character %s instead", qPrintable(other));
                state.CharFile = other;
                break;
            }
        }
    }
    if (AgentCharacter *character = CurrentChar()) {
        setUp(character);
        m_defaultVoiceId = character->TTSModeID();
        PlaceCharacter(character, Placement::TopRight, false);
    }
    LoadSettings(m_hooks);
    ShowCharacter(CurrentChar());
    if (m_storesChoice && CurrentChar()) {
        SettingsStore store;
        OptionKeys::save(store, OptionKeys::Char, state.CharFile);
    }
    return loaded;
}

bool CharacterManager::AddCharacter(const QString &fileName)
{
    const QString id = m_roster.nextExtraId();
    if (!m_control.Load(id, AppPaths::join(appState().CharsDir, fileName)))
        return false;
    AgentCharacter *added = m_control.Character(id);
    for (const QString &loaded : m_roster.CharIds()) {
        const AgentCharacter *other = m_control.Character(loaded);
        if (other && other->GUID() == added->GUID()) {
            m_control.Unload(id);
            return false;
        }
    }
    m_roster.addExtra(id);
    setUp(added);
    PrepareCharacter(added);
    PlaceCharacter(added, Placement::Random, false);
    ShowCharacter(added);
    return true;
}

bool CharacterManager::RemoveCharacter(const QString &id)
{
    if (!m_roster.remove(id))
        return false;
    m_control.Unload(id);
    return true;
}

bool CharacterManager::select(const QString &id)
{
    return m_roster.select(id);
}

void CharacterManager::PrepareCharacter(AgentCharacter *character)
{
    if (!character)
        return;
    character->Commands().RemoveAll();
    character->setAutoPopupMenu(false);
}

void CharacterManager::ShowCharacter(AgentCharacter *character)
{
    if (character)
        character->Show();
}

QString CharacterManager::withVolume(const QString &text, int volume)
{
    return QStringLiteral("\\Vol=%1\\").arg(volume) + text;
}

void CharacterManager::SpeakText(const QString &text)
{
    AgentCharacter *character = CurrentChar();
    if (!character)
        return;
    ShowCharacter(character);
    character->Activate();
    character->Speak(withVolume(text, optionValues().Vol));
    character->Activate();
}

void CharacterManager::SetVoice(const QString &voiceName, bool sayIt)
{
    AgentCharacter *character = CurrentChar();
    if (!character)
        return;
    const QString modeId = VoiceTable::modeIdForName(voiceName);
    character->setTTSModeID(modeId.isEmpty() ? m_defaultVoiceId : modeId);
    if (sayIt) {
        ShowCharacter(character);
        SpeakText(QStringLiteral("Do you like my new voice."));
    }
}

void CharacterManager::PlaceCharacter(AgentCharacter *character, int position, bool showFirst)
{
    if (showFirst)
        ShowCharacter(CurrentChar());
    if (!character)
        return;
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect geometry = screen->geometry();
    const QPoint target = Placement::target(
            position, geometry, QSize(character->Width(), character->Height()),
            Placement::taskBar(geometry, screen->availableGeometry()), Placement::systemRandom());
    character->MoveTo(target.x(), target.y());
}

void CharacterManager::placeHome()
{
    PlaceCharacter(CurrentChar(), optionValues().CharPos, true);
}

void CharacterManager::play(const QString &animation)
{
    if (AgentCharacter *character = CurrentChar())
        character->Play(animation);
}

void CharacterManager::think(const QString &text)
{
    if (AgentCharacter *character = CurrentChar())
        character->Think(text);
}

void CharacterManager::stopAll()
{
    if (AgentCharacter *character = CurrentChar())
        character->StopAll();
}

void CharacterManager::moveTo(const QPoint &topLeft)
{
    if (AgentCharacter *character = CurrentChar())
        character->MoveTo(topLeft.x(), topLeft.y());
}

void CharacterManager::bringToTop()
{
    if (AgentCharacter *character = CurrentChar())
        character->Activate(2);
}

void CharacterManager::decline()
{
    AgentCharacter *character = CurrentChar();
    if (!character)
        return;
    ShowCharacter(character);
    character->Stop();
    character->Play(QStringLiteral("RestPose"));
    character->Play(QStringLiteral("Decline"));
}

void CharacterManager::speakReminder(const QString &key, const QString &spokenText)
{
    AgentCharacter *character = CurrentChar();
    if (!character)
        return;
    ShowCharacter(character);
    character->Play(QStringLiteral("RestPose"));
    character->Play(QStringLiteral("GetAttention"));
    character->Activate();
    const quint64 request = character->runtime().speak(withVolume(spokenText, optionValues().Vol));
    m_reminderSpeech.insert(key, {character, request});
    character->Activate();
    character->Play(QStringLiteral("getattentionreturn"));
}

void CharacterManager::stopReminder(const QString &key)
{
    const ReminderSpeech speech = m_reminderSpeech.take(key);
    if (speech.character)
        speech.character->runtime().cancel(speech.request);
}
