#include "platform/XdgOpener.h"

#include <QProcess>

XdgOpener::XdgOpener(const QString &opener)
    : m_opener(opener)
{}

bool XdgOpener::openWithDefault(const QString &target)
{
    return startProgram(m_opener, {target});
}

bool XdgOpener::startProgram(const QString &program, const QStringList &arguments)
{
    if (program.isEmpty())
        return false;
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    // The started program outlives us and must not write into our terminal or wait on it.
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    return process.startDetached();
}
