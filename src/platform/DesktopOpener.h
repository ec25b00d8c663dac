#pragma once

#include <QString>
#include <QStringList>

// The desktop's ways of opening things. Every target and argument is handed on as one
// argument of its own, never through a shell, so a name holding quotes, ";" or "$(...)"
// cannot start anything else.
class DesktopOpener
{
public:
    DesktopOpener() = default;
    virtual ~DesktopOpener() = default;
    DesktopOpener(const DesktopOpener &) = delete;
    DesktopOpener &operator=(const DesktopOpener &) = delete;

    // Opens a document, folder or address with the desktop's default handler.
    virtual bool openWithDefault(const QString &target) = 0;
    // Starts `program` with `arguments` and does not wait for it.
    virtual bool startProgram(const QString &program, const QStringList &arguments) = 0;
};
