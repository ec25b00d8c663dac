#include "agent/AgentCharacter.h"

#include "agent/AgentLog.h"
#include "agent/BalloonWindow.h"
#include "agent/CharacterRenderer.h"
#include "agent/CharacterRuntime.h"
#include "agent/CharacterWindow.h"
#include "agent/ReducedMotion.h"
#include "agent/SpeechOutput.h"
#include "agent/VoiceTable.h"

#include <QApplication>
#include <QCursor>
#include <QFontDatabase>
#include <QMenu>
#include <QScreen>
#include <QSystemTrayIcon>

namespace {

QFont characterFont()
{
    // A rounded, friendly face where one is installed.
    QFont font;
    font.setFamilies({QStringLiteral("Comic Neue"), QStringLiteral("Nunito"),
                      QStringLiteral("Ubuntu"), QStringLiteral("DejaVu Sans")});
    font.setPointSizeF(10.5);
    return font;
}

} // namespace

AgentCharacter::AgentCharacter(const QString &id, std::shared_ptr<const CharacterData> data,
                               AgentClock &clock, const AgentSettings &settings, QObject *parent)
    : QObject(parent)
    , m_id(id)
    , m_data(std::move(data))
    , m_random(QRandomGenerator::securelySeeded())
    , m_runtime(new CharacterRuntime(m_data, clock, m_random, this))
    , m_speech(new SpeechOutput(clock, this))
    , m_window(std::make_unique<CharacterWindow>(CharacterRenderer(m_data)))
    , m_balloon(std::make_unique<BalloonWindow>())
    , m_name(m_data->name)
    , m_ttsModeId(m_data->voice)
{
    m_window->setObjectName(QStringLiteral("character-") + id);
    m_runtime->setSpeechPort(m_speech);
    m_runtime->setLogName(id);
    m_runtime->setReducedMotion(ReducedMotion::instance().isReduced());
    connect(&ReducedMotion::instance(), &ReducedMotion::changed, m_runtime,
            &CharacterRuntime::setReducedMotion);
    applySettings(settings);
    updateBounds();

    connect(m_runtime, &CharacterRuntime::frameChanged, this, &AgentCharacter::redraw);
    connect(m_runtime, &CharacterRuntime::positionChanged, this, &AgentCharacter::place);
    connect(m_runtime, &CharacterRuntime::visibilityChanged, this,
            &AgentCharacter::visibilityChanged);
    connect(m_runtime, &CharacterRuntime::hidden, this,
            [this] { emit hidden(std::exchange(m_hideCause, ProgramHid)); });
    connect(m_runtime, &CharacterRuntime::balloonShown, this,
            [this](const QString &text, bool thought) {
                m_balloon->present(text, thought, characterRect());
            });
    connect(m_runtime, &CharacterRuntime::balloonRevealed, m_balloon.get(), &BalloonWindow::reveal);
    connect(m_runtime, &CharacterRuntime::balloonFinished, m_balloon.get(), &BalloonWindow::finish);
    connect(m_runtime, &CharacterRuntime::balloonCancelled, m_balloon.get(),
            &BalloonWindow::dismiss);

    connect(m_window.get(), &CharacterWindow::dragMoved, this, [this](const QPoint &topLeft) {
        // The user's hand wins over a walk in progress.
        if (m_runtime->currentKind() == CharacterRuntime::RequestKind::MoveTo)
            m_runtime->stop();
        m_runtime->setPosition(topLeft);
    });
    connect(m_window.get(), &CharacterWindow::clicked, this, &AgentCharacter::rightClicked);
    connect(m_window.get(), &CharacterWindow::doubleClicked, this,
            [this](int button, int shift, const QPoint &at) {
                emit doubleClicked(button, shift, at.x(), at.y());
            });
    connect(m_window.get(), &CharacterWindow::dragFinished, this,
            [this](int shift, const QPoint &at) { emit dragCompleted(1, shift, at.x(), at.y()); });
    connect(qApp, &QGuiApplication::screenAdded, this, &AgentCharacter::updateBounds);
    connect(qApp, &QGuiApplication::screenRemoved, this, &AgentCharacter::updateBounds);

    // Start where a character usually stands until the program places it.
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        m_runtime->setPosition(area.bottomRight() - QPoint(Width() * 2, Height()));
    }
    redraw();
    place(m_runtime->position());
    createTrayIcon();
}

AgentCharacter::~AgentCharacter()
{
    delete m_tray;
}

void AgentCharacter::Show()
{
    m_runtime->show();
}

void AgentCharacter::Hide()
{
    m_runtime->hide();
}

void AgentCharacter::Play(const QString &animation)
{
    m_runtime->play(animation);
}

void AgentCharacter::Speak(const QString &text)
{
    m_runtime->speak(text);
}

void AgentCharacter::Think(const QString &text)
{
    m_runtime->think(text);
}

void AgentCharacter::Stop()
{
    m_runtime->stop();
}

void AgentCharacter::StopAll()
{
    m_runtime->stopAll();
}

void AgentCharacter::MoveTo(int x, int y)
{
    m_runtime->moveTo(QPoint(x, y));
}

void AgentCharacter::Activate(int state)
{
    if (state == 2 && m_runtime->isVisible()) {
        m_window->raise();
        if (m_balloon->isVisible())
            m_balloon->raise();
    }
    emit activated(state);
}

bool AgentCharacter::Visible() const
{
    return m_runtime->isVisible();
}

int AgentCharacter::Width() const
{
    return m_data->frameSize.width();
}

int AgentCharacter::Height() const
{
    return m_data->frameSize.height();
}

int AgentCharacter::Left() const
{
    return m_runtime->position().x();
}

int AgentCharacter::Top() const
{
    return m_runtime->position().y();
}

void AgentCharacter::setName(const QString &name)
{
    m_name = name;
    m_window->setWindowTitle(name);
    if (m_tray)
        m_tray->setToolTip(name);
}

QString AgentCharacter::GUID() const
{
    return m_data->guid;
}

void AgentCharacter::setTTSModeID(const QString &modeId)
{
    // A voice the machine lacks leaves the previous one.
    const QString voice = VoiceTable::espeakVoiceFor(modeId, QString());
    if (voice.isEmpty())
        return;
    m_ttsModeId = modeId;
    m_speech->setVoice(voice);
}

bool AgentCharacter::IdleOn() const
{
    return m_runtime->idleOn();
}

void AgentCharacter::setIdleOn(bool on)
{
    m_runtime->setIdleOn(on);
}

void AgentCharacter::applySettings(const AgentSettings &settings)
{
    m_settings = settings;
    m_speech->setAudible(settings.speechOutput);
    m_speech->setVoice(VoiceTable::espeakVoiceFor(m_ttsModeId, m_data->voice));
    m_speech->setRate(AgentSettings::wordsPerMinute(m_data->voiceRate, settings.speakingSpeed));
    m_speech->setBasePitch(m_data->voicePitch);
    m_balloon->setBalloonFont(settings.useCharacterFont ? characterFont() : QApplication::font());
}

void AgentCharacter::retire()
{
    disconnect(m_runtime, nullptr, this, nullptr);
    m_runtime->setSpeechPort(nullptr);
    m_speech->stop();
    m_balloon->dismiss();
    m_window->hide();
    delete m_tray;
}

void AgentCharacter::redraw()
{
    m_window->showFrame(m_runtime->frame(), m_runtime->mouth());
}

void AgentCharacter::place(const QPoint &topLeft)
{
    m_window->move(topLeft);
    m_balloon->follow(characterRect());
}

void AgentCharacter::visibilityChanged(bool visible)
{
    if (visible) {
        redraw();
        m_window->show();
    } else {
        m_balloon->dismiss();
        m_window->hide();
    }
}

void AgentCharacter::updateBounds()
{
    // Targets stay within the union of the screens; screens may come and go.
    QRect bounds;
    for (const QScreen *screen : QGuiApplication::screens())
        bounds = bounds.united(screen->geometry());
    m_runtime->setBounds(bounds);
}

void AgentCharacter::rightClicked(int button, int shift, const QPoint &at)
{
    emit clicked(button, shift, at.x(), at.y());
    if (button != 2 || !m_autoPopupMenu)
        return;
    // The component's own little menu, for programs that do not show one. It pops up
    // without a nested event loop: the character may be unloaded while it is open.
    auto *menu = new QMenu(m_window.get());
    menu->setAttribute(Qt::WA_DeleteOnClose);
    connect(menu->addAction(tr("Hide")), &QAction::triggered, this, [this] {
        m_hideCause = UserHidViaCharacterMenu;
        Hide();
    });
    connect(menu->addAction(tr("Advanced Character Options")), &QAction::triggered, this,
            [this] { emit commandChosen(QStringLiteral("AdvCharOptions")); });
    menu->popup(at);
}

void AgentCharacter::createTrayIcon()
{
    // Made even while the desktop has no tray: a panel that starts after the program (or
    // restarts) gets the icon docked then, so Hide never leaves the character out of reach.
    if (m_data->restAnimation.isEmpty())
        return;
    const QImage image =
            CharacterRenderer(m_data).render(m_data->restAnimation, 0, std::nullopt, 0.25, 2.0);
    m_tray = new QSystemTrayIcon(QIcon(QPixmap::fromImage(image)));
    m_tray->setToolTip(m_name);
    connect(m_tray, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                const QPoint at = QCursor::pos();
                if (reason == QSystemTrayIcon::Context)
                    emit clicked(4098, 0, at.x(), at.y());
                else if (reason == QSystemTrayIcon::Trigger)
                    emit clicked(4097, 0, at.x(), at.y());
                else if (reason == QSystemTrayIcon::DoubleClick)
                    emit doubleClicked(4097, 0, at.x(), at.y());
            });
    m_tray->show();
}

QSystemTrayIcon *AgentCharacter::trayIcon() const
{
    return m_tray;
}

QRect AgentCharacter::characterRect() const
{
    return QRect(m_runtime->position(), m_data->frameSize);
}
