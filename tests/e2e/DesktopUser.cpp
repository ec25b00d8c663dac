#include "DesktopUser.h"

#include "support/VirtualDesktop.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QThread>

DesktopUser::DesktopUser(const VirtualDesktop &desktop)
    : m_desktop(desktop)
{}

QList<DesktopUser::Window> DesktopUser::visibleWindows(const QString &title) const
{
    QList<Window> windows;
    const QString ids = m_desktop.run(QStringLiteral("xdotool"),
                                      {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                       QStringLiteral("--name"),
                                       u'^' + QRegularExpression::escape(title) + u'$'});
    for (const QString &id : ids.split(u'\n', Qt::SkipEmptyParts)) {
        const QString shell =
                m_desktop.run(QStringLiteral("xdotool"), {QStringLiteral("getwindowgeometry"),
                                                          QStringLiteral("--shell"), id.trimmed()});
        QHash<QString, int> values;
        for (const QString &line : shell.split(u'\n', Qt::SkipEmptyParts)) {
            const qsizetype eq = line.indexOf(u'=');
            if (eq > 0)
                values.insert(line.left(eq), line.mid(eq + 1).toInt());
        }
        windows.append({id.trimmed(),
                        QRect(values.value(QStringLiteral("X")), values.value(QStringLiteral("Y")),
                              values.value(QStringLiteral("WIDTH")),
                              values.value(QStringLiteral("HEIGHT")))});
    }
    return windows;
}

void DesktopUser::click(const QPoint &at, int button) const
{
    m_desktop.run(QStringLiteral("xdotool"),
                  {QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
                   QStringLiteral("click"), QString::number(button)});
}

void DesktopUser::type(const QString &text) const
{
    m_desktop.run(QStringLiteral("xdotool"),
                  {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("40"), text});
}

void DesktopUser::key(const QString &keys) const
{
    m_desktop.run(QStringLiteral("xdotool"), QStringList{QStringLiteral("key")} + keys.split(u' '));
}

bool DesktopUser::waitUntil(const std::function<bool()> &condition, int timeoutMs)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (!condition()) {
        if (elapsed.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents();
        QThread::msleep(100);
    }
    return true;
}
