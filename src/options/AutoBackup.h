#pragma once

#include <QString>

// The daily backup check of the start-up: on the first start at least three days after the
// last backup, the program's whole settings key is exported to "autobackup.cfg" in the
// backup folder ("AutoBackupDir"; empty switches backups off).
namespace AutoBackup {

enum class Outcome {
    SameDay, // nothing to do; today's date is recorded again
    Written, // a backup was written and today's date recorded
    Failed,  // it was due but could not be written: the date stays, so the next start tries
    NotDue,  // one or two days, a date in the future, or backups off: nothing written
};

inline const QString FileName = QStringLiteral("autobackup.cfg");

// Runs the check against the global settings store and the program clock.
Outcome run();

// The backup file in `folder`.
QString filePath(const QString &folder);

} // namespace AutoBackup
