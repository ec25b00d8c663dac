#pragma once

#include "platform/DesktopOpener.h"

#include <QList>

// Stands in for the desktop's opener: records what would have been opened or started.
class RecordingOpener final : public DesktopOpener
{
public:
    struct Call
    {
        QString program; // empty: opened with the default handler
        QStringList arguments;
        bool operator==(const Call &) const = default;
    };

    bool openWithDefault(const QString &target) override
    {
        calls << Call{QString(), {target}};
        return true;
    }
    bool startProgram(const QString &program, const QStringList &arguments) override
    {
        calls << Call{program, arguments};
        return true;
    }

    QList<Call> calls;
};

inline void PrintTo(const RecordingOpener::Call &call, std::ostream *os)
{
    *os << '"' << call.program.toStdString() << "\" [" << call.arguments.join("|").toStdString()
        << ']';
}
