#include "support/VirtualDesktop.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QRegularExpression>
#include <QThread>

namespace {

void finish(std::unique_ptr<QProcess> &process)
{
    if (!process || process->state() == QProcess::NotRunning)
        return;
    process->terminate();
    if (!process->waitForFinished(3000)) {
        process->kill();
        process->waitForFinished(3000);
    }
}

} // namespace

VirtualDesktop::VirtualDesktop(int width, int height)
{
    m_ready = start(width, height);
}

VirtualDesktop::~VirtualDesktop()
{
    finish(m_panel);
    finish(m_openbox);
    finish(m_xvfb);
}

QProcessEnvironment VirtualDesktop::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    return env;
}

std::unique_ptr<QProcess> VirtualDesktop::launch(const QString &program,
                                                 const QStringList &arguments)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->start(program, arguments);
    if (!process->waitForStarted(5000)) {
        m_error = program + QStringLiteral(" did not start");
        return nullptr;
    }
    return process;
}

bool VirtualDesktop::start(int width, int height)
{
    // -displayfd 1: Xvfb picks a free display and writes its number to standard output.
    m_xvfb = std::make_unique<QProcess>();
    m_xvfb->setProcessChannelMode(QProcess::SeparateChannels);
    m_xvfb->setStandardErrorFile(QProcess::nullDevice());
    m_xvfb->start(QStringLiteral("Xvfb"),
                  {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                   QStringLiteral("0"), QStringLiteral("%1x%2x24").arg(width).arg(height),
                   QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-noreset")});
    if (!m_xvfb->waitForStarted(5000)) {
        m_error = QStringLiteral("Xvfb did not start");
        return false;
    }
    QByteArray number;
    const QDeadlineTimer deadline(10000);
    while (!number.contains('\n') && !deadline.hasExpired()) {
        if (m_xvfb->waitForReadyRead(200))
            number += m_xvfb->readAllStandardOutput();
        if (m_xvfb->state() == QProcess::NotRunning)
            break;
    }
    if (!number.contains('\n')) {
        m_error = QStringLiteral("Xvfb gave no display number");
        return false;
    }
    m_display = u':' + QString::fromLatin1(number.trimmed());
    m_screenHeight = height;

    m_openbox = launch(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    if (!m_openbox)
        return false;
    // The window manager must own the screen before the panel asks it for a strut.
    const QDeadlineTimer wmDeadline(10000);
    while (!run(QStringLiteral("xprop"),
                {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")})
                    .contains(u"window id")) {
        if (wmDeadline.hasExpired()) {
            m_error = QStringLiteral("openbox did not take the screen");
            return false;
        }
        QThread::msleep(50);
    }
    return startPanel();
}

void VirtualDesktop::stopPanel()
{
    finish(m_panel);
}

bool VirtualDesktop::startPanel()
{
    const QString panelConfig = QDir::cleanPath(QStringLiteral(QUILLOMI_SOURCE_DATA_DIR) +
                                                QStringLiteral("/../scripts/tint2rc"));
    m_panel = launch(QStringLiteral("tint2"), {QStringLiteral("-c"), panelConfig});
    if (!m_panel)
        return false;
    const int height = m_screenHeight;
    const QDeadlineTimer areaDeadline(15000);
    while (workArea().height() <= 0 || workArea().height() >= height) {
        if (areaDeadline.hasExpired()) {
            m_error = QStringLiteral("the panel reserved no work area");
            return false;
        }
        QThread::msleep(50);
    }
    return true;
}

QRect VirtualDesktop::workArea() const
{
    const QString out = run(QStringLiteral("xprop"),
                            {QStringLiteral("-root"), QStringLiteral("_NET_WORKAREA")});
    static const QRegularExpression numbers(
            QStringLiteral("=\\s*(\\d+),\\s*(\\d+),\\s*(\\d+),\\s*(\\d+)"));
    const QRegularExpressionMatch match = numbers.match(out);
    if (!match.hasMatch())
        return {};
    return QRect(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt(),
                 match.captured(4).toInt());
}

QString VirtualDesktop::run(const QString &program, const QStringList &arguments,
                            int timeoutMs) const
{
    QProcess process;
    process.setProcessEnvironment(environment());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return {};
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

QString VirtualDesktop::artifactsFolder()
{
    const QString folder =
            QStringLiteral(QUILLOMI_BUILD_DATA_DIR) + QStringLiteral("/../test-artifacts");
    QDir().mkpath(folder);
    return QDir(folder).absolutePath();
}

QString VirtualDesktop::screenshot(const QString &name) const
{
    const QString path = artifactsFolder() + u'/' + name + QStringLiteral(".png");
    run(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), path}, 20000);
    return path;
}
