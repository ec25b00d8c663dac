#include "options/AutoBackup.h"

#include "base/AppPaths.h"
#include "base/Clock.h"
#include "base/DateTimeText.h"
#include "platform/RegFile.h"
#include "settings/OptionKeys.h"
#include "settings/SettingsStore.h"

namespace AutoBackup {

QString filePath(const QString &folder)
{
    return AppPaths::join(folder, FileName);
}

Outcome run()
{
    SettingsStore store;
    const QString folder = OptionKeys::read(OptionKeys::AutoBackupDir, store);
    const QDate today = Clock::currentDate();
    QDate last = DateTimeText::parseDate(OptionKeys::read(OptionKeys::LastAutoBackup, store));
    // A date that cannot be read counts as today: the clock starts again instead of a
    // damaged value taking a backup at every start.
    if (!last.isValid())
        last = today;
    const qint64 days = last.daysTo(today);

    Outcome outcome = Outcome::SameDay;
    if (days != 0) {
        if (days < 3 || folder.isEmpty())
            return Outcome::NotDue;
        QString error;
        if (!RegFile::exportKey(store.registry(),
                                SettingsStore::applicationPath(SettingsStore::AppName),
                                filePath(folder), &error)) {
            qWarning("Automatic backup to %s failed: %s", qPrintable(filePath(folder)),
                     qPrintable(error));
            return Outcome::Failed;
        }
        outcome = Outcome::Written;
    }
    OptionKeys::save(store, OptionKeys::LastAutoBackup, DateTimeText::storeDate(today));
    return outcome;
}

} // namespace AutoBackup
