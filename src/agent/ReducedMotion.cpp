#include "agent/ReducedMotion.h"

#include <QCoreApplication>
#include <QDir>
#include <QPointer>
#include <QSettings>
#include <QStandardPaths>

ReducedMotion &ReducedMotion::instance()
{
    static QPointer<ReducedMotion> watcher;
    if (!watcher)
        watcher = new ReducedMotion(QCoreApplication::instance());
    return *watcher;
}

ReducedMotion::ReducedMotion(QObject *parent)
    : QObject(parent)
{
    const QByteArray forced = qgetenv("QUILLOMI_REDUCED_MOTION");
    if (!forced.isEmpty()) {
        m_forced = forced != "0";
        return;
    }
    const QString config = qEnvironmentVariableIsSet("XDG_CONFIG_HOME")
                                   ? qEnvironmentVariable("XDG_CONFIG_HOME")
                                   : QDir::homePath() + QStringLiteral("/.config");
    const QSettings gtk(config + QStringLiteral("/gtk-3.0/settings.ini"), QSettings::IniFormat);
    const QString value = gtk.value(QStringLiteral("Settings/gtk-enable-animations")).toString();
    m_gtk = value == u"false" || value == u"0";

    const QString gsettings = QStandardPaths::findExecutable(QStringLiteral("gsettings"));
    if (gsettings.isEmpty())
        return;
    m_process = new QProcess(this);
    m_process->setProcessChannelMode(QProcess::SeparateChannels);
    m_process->setStandardInputFile(QProcess::nullDevice());
    connect(m_process, &QProcess::finished, this, &ReducedMotion::gnomeAnswered);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            gnomeAnswered(-1, QProcess::CrashExit);
    });
    m_process->start(gsettings,
                     {QStringLiteral("get"), QStringLiteral("org.gnome.desktop.interface"),
                      QStringLiteral("enable-animations")});
}

ReducedMotion::~ReducedMotion()
{
    if (m_process) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished(50);
    }
}

void ReducedMotion::gnomeAnswered(int exitCode, QProcess::ExitStatus status)
{
    QProcess *process = std::exchange(m_process, nullptr);
    if (!process)
        return;
    const bool was = isReduced();
    m_gnome = status == QProcess::NormalExit && exitCode == 0 &&
              process->readAllStandardOutput().trimmed() == "false";
    process->deleteLater();
    if (isReduced() != was)
        emit changed(isReduced());
}
