#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>

class VirtualDesktop;

// What a user of the virtual desktop sees and does: visible windows by title, the mouse
// and the keyboard (xdotool, XTEST).
class DesktopUser final
{
public:
    explicit DesktopUser(const VirtualDesktop &desktop);

    struct Window
    {
        QString id;
        QRect geometry;
    };
    // Visible windows whose title is exactly `title`.
    QList<Window> visibleWindows(const QString &title) const;
    void click(const QPoint &at, int button = 1) const;
    void type(const QString &text) const;
    void key(const QString &keys) const;

    // Polls `condition` every 100 ms until it holds or `timeoutMs` has passed.
    static bool waitUntil(const std::function<bool()> &condition, int timeoutMs);

private:
    const VirtualDesktop &m_desktop;
};
