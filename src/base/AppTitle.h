#pragma once

#include <QString>

// The application's title: captions of prompts, the name under which it starts at login,
// the service name of the instance channel.
inline QString AppTitle()
{
    return QStringLiteral("::: Quillomi :::");
}
