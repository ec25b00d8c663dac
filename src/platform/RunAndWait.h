#pragma once

#include <QString>
#include <QStringList>

// Starts `program` with `arguments` and waits, without a time limit, until it ends. True
// when it was started (once it has ended, whatever its exit code), false when it could not
// be started.
bool RunAndWait(const QString &program, const QStringList &arguments);
