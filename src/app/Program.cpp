#include "app/Program.h"

#include "agent/AgentCharacter.h"
#include "agent/BalloonWindow.h"
#include "agent/CharacterWindow.h"
#include "agent/Characters.h"
#include "app/FrmMain.h"
#include "app/UserNamePrompt.h"
#include "base/AppPaths.h"
#include "base/Clock.h"
#include "character/BehaviourTimers.h"
#include "character/CharacterEvents.h"
#include "character/CharacterManager.h"
#include "character/Greeting.h"
#include "character/PhraseBook.h"
#include "character/QuitSequence.h"
#include "character/StandInMenu.h"
#include "character/TourScript.h"
#include "character/WebTextSpeaker.h"
#include "options/AutoBackup.h"
#include "platform/RegistryOps.h"
#include "platform/RegistryStore.h"
#include "platform/SingleInstance.h"
#include "platform/UnixSignalWatcher.h"
#include "reminders/AlarmStore.h"
#include "reminders/ReminderCharacter.h"
#include "reminders/ReminderPanel.h"
#include "settings/AppState.h"
#include "settings/OptionValues.h"
#include "settings/SettingsRoutines.h"

#include <QApplication>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <csignal>

Program::Program()
    : m_instance(std::make_unique<SingleInstance>(AppPaths::runtimeFolder()))
    , m_alarms(std::make_unique<AlarmStore>())
    , m_control(std::make_unique<Characters>())
    , m_characters(std::make_unique<CharacterManager>(*m_control, m_hooks))
    , m_phrases(std::make_unique<PhraseBook>(*m_characters))
    , m_web(std::make_unique<WebTextSpeaker>(*m_characters))
{}

Program::~Program()
{
    SetRegistryMessageHandler({});
}

int Program::RunStartup()
{
    AppPaths::seedProgramFolder();
    const QString problem = RegistryStore::global().openProblem();
    if (!problem.isEmpty())
        QMessageBox::warning(nullptr, QApplication::applicationName(), problem);
    SetRegistryMessageHandler([](const QString &message) {
        QMessageBox::warning(nullptr, QApplication::applicationName(), message);
    });
    // The lock decides at once whether this is a second copy, so that its load sequence
    // below can leave the running copy's data alone.
    m_secondCopy = !m_instance->claim();
    m_characters->setStoresChoice(!m_secondCopy);

    // 1. The automatic backup.
    if (!m_secondCopy)
        AutoBackup::run();
    // 2. The language.
    ReadLanguage();
    // 3. The menu.
    m_menu = std::make_unique<StandInMenu>(StandInMenu::Commands{
            .reminders = [this] { showReminders(); },
            .follow = [this] { m_main->behaviourTimers().startFollowing(); },
            .hideOrShow = [this] { hideOrShowCharacter(); },
            .tellTime = [this] { tellTime(); },
            .tellJoke = [this] { m_web->SpeakWebText(WebTextSpeaker::JokePath); },
            .quit = [this] { quit(); },
            .characterVisible =
                    [this] {
                        const AgentCharacter *character = m_characters->CurrentChar();
                        return character && character->Visible();
                    },
    });
    // 4. The first-run defaults.
    if (!m_secondCopy)
        WriteFirstRunDefaults();
    // 5. The characters folder.
    ReadCharsDir();
    m_control->setCharactersFolder(appState().CharsDir);
    // 6. The main window and its load sequence.
    // A second copy's reminders say nothing: the running copy speaks them.
    m_main = std::make_unique<FrmMain>(
            *m_alarms, m_secondCopy ? ReminderCharacter::silent()
                                    : static_cast<ReminderCharacter &>(*m_characters));
    fillSettingsHooks();
    m_quit = std::make_unique<QuitSequence>(QuitSequence::Steps{
            .askShutDown = [] { return std::optional<int>(0); },
            .saveSettings = [this] { SaveSettings(m_hooks); },
            .closeWindows = [this] { closeWindows(); },
            .readyCharacter =
                    [this] {
                        AgentCharacter *character = m_characters->CurrentChar();
                        m_characters->ShowCharacter(character);
                        if (character) {
                            character->StopAll();
                            character->setAutoPopupMenu(false);
                        }
                    },
            .stopTimers = [this] { m_main->stopTimers(); },
            .sayGoodbye =
                    [this] {
                        m_characters->SpeakText(QStringLiteral("Bye bye ") + appState().UserName);
                    },
            .hideCharacters = [this] { hideCharacters(); },
            .characterCount = [this] { return m_characters->count(); },
            .exitAction =
                    [](int action) { qWarning("The exit action %d is not available", action); },
            .endProgram = [] { QCoreApplication::exit(0); },
    });
    m_events = std::make_unique<CharacterEvents>(CharacterEvents::Parts{
            .characters = *m_characters,
            .phrases = *m_phrases,
            .timers = m_main->behaviourTimers(),
            .menu = *m_menu,
            .quit = *m_quit,
            .web = *m_web,
    });
    loadMainWindow();

    // 7. The instance check. A copy that began as the second one ends even when the first
    // has quit meanwhile: it has run without its timers and without saving.
    const SingleInstance::Outcome outcome = m_instance->check();
    if (m_secondCopy || outcome != SingleInstance::Outcome::FirstCopy) {
        unloadWindows();
        return 0;
    }
    watchSessionEnd();
    // 8. The event loop.
    return QCoreApplication::exec();
}

void Program::fillSettingsHooks()
{
    // A second copy reads the reminders but never writes them, and asks nothing.
    m_hooks = SettingsHooks{
            .loadReminders = [this] { m_alarms->LoadAlarms(); },
            .saveReminders =
                    m_secondCopy ? std::function<void()>() : [this] { m_alarms->SaveAlarms(); },
            .askUserName = m_secondCopy ? nullptr : PromptUserName,
            .prepareCharacter =
                    [this] {
                        m_characters->PrepareCharacter(m_characters->CurrentChar());
                        m_characters->PlaceCharacter(m_characters->CurrentChar(), 1, true);
                    },
            .setVoice = [this](const QString &voice) { m_characters->SetVoice(voice, false); },
            .characterFiles = {},
    };
}

void Program::loadMainWindow()
{
    AppState &state = appState();
    state.LastActionTime = Clock::currentDateTime();
    m_main->hide();
    connect(m_main.get(), &FrmMain::hidInsteadOfClosing, this, [this] {
        if (AgentCharacter *character = m_characters->CurrentChar())
            character->Activate();
    });
    // The timers run from the moment the window is loaded; a second copy only passes through.
    if (!m_secondCopy)
        m_main->startTimers();
    m_characters->LoadCharacter(true, {});
    applyBehaviourOptions();
    m_web->useLocation(optionValues().Location);
    Greeting::at(Clock::currentTime()).perform(*m_characters, state.UserName);
    m_main->prepareEntryFields();
    m_main->applyGeometry();
    m_main->applyLanguage();
    if (state.FirstRun)
        runFirstRunTour();
}

void Program::applyBehaviourOptions()
{
    const OptionValues &values = optionValues();
    CharacterBehaviour::Options options;
    options.follow = values.Follow;
    options.hide = values.Hide;
    options.moveScr = values.MoveScr;
    options.stay = values.Stay;
    options.idle = values.Idle;
    m_main->behaviourTimers().setOptions(options);
    m_quit->setAskFirst(values.Quit != 0);
}

void Program::runFirstRunTour()
{
    const auto steps =
            TourScript::load(AppPaths::join(AppPaths::programFolder(), TourScript::FileName));
    if (!steps)
        return;
    const QScreen *screen = QGuiApplication::primaryScreen();
    TourScript::perform(*steps, *m_characters, screen ? screen->size() : QSize());
}

void Program::quit()
{
    m_quit->quit();
}

void Program::sessionEnding()
{
    appState().SystemClosing = true;
    m_quit->sessionEnding();
}

void Program::watchSessionEnd()
{
    m_signals = std::make_unique<UnixSignalWatcher>();
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP})
        m_signals->watch(signalNumber);
    connect(m_signals.get(), &UnixSignalWatcher::signalReceived, this, &Program::sessionEnding);
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::commitDataRequest, this, &Program::sessionEnding);
    }
}

void Program::closeWindows()
{
    m_main->setClosable(true);
    m_menu->menu()->close();
    QWidgetList windows = QApplication::topLevelWidgets();
    // The last opened first; the characters and their balloons stay for the goodbye.
    for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
        QWidget *window = *it;
        if (!window->isVisible() || qobject_cast<CharacterWindow *>(window) ||
            qobject_cast<BalloonWindow *>(window))
            continue;
        window->close();
    }
    m_main->hide();
}

void Program::hideCharacters()
{
    for (const QString &id : m_characters->CharIds()) {
        if (AgentCharacter *character = m_control->Character(id))
            character->Hide();
    }
    if (AgentCharacter *current = m_characters->CurrentChar())
        current->Hide();
}

void Program::unloadWindows()
{
    m_main->stopTimers();
    m_main->setClosable(true);
    m_main->close();
    for (const QString &id : m_characters->CharIds())
        m_control->Unload(id);
}

void Program::showReminders()
{
    m_main->showMain();
    m_phrases->speaker(PhraseBook::Reminder).Read();
    m_main->panel()->CheckPastDue();
}

void Program::hideOrShowCharacter()
{
    AgentCharacter *character = m_characters->CurrentChar();
    if (!character)
        return;
    if (character->Visible()) {
        m_phrases->speaker(PhraseBook::HideLine).Hide();
        character->Hide();
        m_main->behaviourTimers().characterHidden();
    } else {
        m_characters->ShowCharacter(character);
        m_main->behaviourTimers().characterShown();
    }
}

void Program::tellTime()
{
    AgentCharacter *character = m_characters->CurrentChar();
    if (!character)
        return;
    m_characters->ShowCharacter(character);
    character->Stop();
    character->Play(QStringLiteral("RestPose"));
    character->Play(QStringLiteral("announce"));
    m_characters->SpeakText(QStringLiteral("The time is ") +
                            QLocale(QLocale::English).toString(Clock::currentTime(), u"hh:mm AP"));
}
