#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>
#include <memory>

// A private X11 desktop for a test: Xvfb on a free display, openbox as window manager and
// tint2 as a 30 px bottom panel that reserves its work area, like a real desktop. Each
// instance has its own display, so tests may run in parallel. Everything ends with it.
class VirtualDesktop final
{
public:
    explicit VirtualDesktop(int width = 1280, int height = 800);
    ~VirtualDesktop();
    VirtualDesktop(const VirtualDesktop &) = delete;
    VirtualDesktop &operator=(const VirtualDesktop &) = delete;

    // True once the panel's work area is set; otherwise error() says what failed.
    bool isReady() const { return m_ready; }
    QString error() const { return m_error; }
    // ":N"
    QString display() const { return m_display; }
    // The process environment with DISPLAY set and Qt on its xcb platform.
    QProcessEnvironment environment() const;
    // _NET_WORKAREA of the root window.
    QRect workArea() const;

    // Ends the panel (and its system tray) and starts it again, as a user's desktop may.
    void stopPanel();
    bool startPanel();

    // Runs an X11 tool (xdotool, xprop, ...) on this display; its standard output.
    QString run(const QString &program, const QStringList &arguments, int timeoutMs = 10000) const;
    // Saves the whole screen as PNG under the build folder's test-artifacts; the path.
    QString screenshot(const QString &name) const;
    static QString artifactsFolder();

private:
    bool start(int width, int height);
    std::unique_ptr<QProcess> launch(const QString &program, const QStringList &arguments);

    std::unique_ptr<QProcess> m_xvfb;
    std::unique_ptr<QProcess> m_openbox;
    std::unique_ptr<QProcess> m_panel;
    QString m_display;
    int m_screenHeight = 0;
    QString m_error;
    bool m_ready = false;
};
