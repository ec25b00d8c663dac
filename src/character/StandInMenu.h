#pragma once

#include "character/CharacterMenu.h"

#include <QObject>
#include <functional>
#include <memory>

class QAction;
class QMenu;

// A small pop-up menu that stands in for the full one: the reminder list, follow the
// pointer, hide or show, tell the time or a joke, quit.
class StandInMenu final : public QObject, public CharacterMenu
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StandInMenu)

public:
    struct Commands
    {
        std::function<void()> reminders;
        std::function<void()> follow;
        std::function<void()> hideOrShow;
        std::function<void()> tellTime;
        std::function<void()> tellJoke;
        std::function<void()> quit;
        // True while the character is visible (the hide item then hides it).
        std::function<bool()> characterVisible;
    };

    explicit StandInMenu(Commands commands, QObject *parent = nullptr);
    ~StandInMenu() override;

    QMenu *menu() const { return m_menu.get(); }

    void UpadateMnu() override;
    void RefreshMenuLists() override {}
    void popup(const QPoint &at) override;

private:
    Commands m_commands;
    std::unique_ptr<QMenu> m_menu;
    QAction *m_hide = nullptr;
};
