#pragma once

#include <QObject>
#include <QProcess>
#include <optional>

// The desktop's wish for still pictures: QUILLOMI_REDUCED_MOTION when set, else GTK's
// gtk-enable-animations=false in settings.ini, or GNOME's enable-animations=false. GNOME's
// answer comes from gsettings in the background, so start-up never waits for it.
class ReducedMotion final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReducedMotion)

public:
    // The process's one watcher, owned by the application.
    static ReducedMotion &instance();

    explicit ReducedMotion(QObject *parent = nullptr);
    ~ReducedMotion() override;

    bool isReduced() const { return m_forced.value_or(m_gtk || m_gnome); }
    // True while gsettings has not answered yet.
    bool isAsking() const { return m_process != nullptr; }

signals:
    void changed(bool reduced);

private:
    void gnomeAnswered(int exitCode, QProcess::ExitStatus status);

    std::optional<bool> m_forced;
    bool m_gtk = false;
    bool m_gnome = false;
    QProcess *m_process = nullptr;
};
