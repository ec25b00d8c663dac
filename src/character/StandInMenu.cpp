#include "character/StandInMenu.h"

#include "base/Clock.h"
#include "settings/AppState.h"

#include <QMenu>

StandInMenu::StandInMenu(Commands commands, QObject *parent)
    : QObject(parent)
    , m_commands(std::move(commands))
    , m_menu(std::make_unique<QMenu>())
{
    m_menu->setObjectName(QStringLiteral("FrmMnu"));
    const auto add = [this](const QString &text, const char *name,
                            const std::function<void()> &command) {
        QAction *action = m_menu->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, [command] {
            if (command)
                command();
        });
        return action;
    };
    add(tr("Reminders"), "mnuPopAlarm", m_commands.reminders);
    add(tr("Follow Me"), "mnuPopFollow", m_commands.follow);
    m_hide = add(tr("Hide"), "mnuPopHide", m_commands.hideOrShow);
    add(tr("What Time Is It?"), "mnuPopTellTime", m_commands.tellTime);
    add(tr("Tell Me a Joke"), "mnuPopTellJoke", m_commands.tellJoke);
    m_menu->addSeparator();
    add(tr("Quit"), "mnuPopQuit", m_commands.quit);
    // Closing the menu counts as the user's last action: a right click right after it
    // does not open it again at once.
    connect(m_menu.get(), &QMenu::aboutToHide, this,
            [] { appState().LastActionTime = Clock::currentDateTime(); });
}

StandInMenu::~StandInMenu() = default;

void StandInMenu::UpadateMnu()
{
    const bool visible = !m_commands.characterVisible || m_commands.characterVisible();
    m_hide->setText(visible ? tr("Hide") : tr("Show"));
}

void StandInMenu::popup(const QPoint &at)
{
    m_menu->popup(at);
}
