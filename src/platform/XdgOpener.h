#pragma once

#include "platform/DesktopOpener.h"

// Opens through xdg-open and starts programs detached, each with an argument list.
class XdgOpener final : public DesktopOpener
{
public:
    // `opener` is the command that opens with the default handler.
    explicit XdgOpener(const QString &opener = QStringLiteral("xdg-open"));

    bool openWithDefault(const QString &target) override;
    bool startProgram(const QString &program, const QStringList &arguments) override;

private:
    QString m_opener;
};
