#include "options/AutoBackup.h"

#include "base/AppPaths.h"
#include "settings/OptionKeys.h"
#include "settings/SettingsStore.h"
#include "support/FixedClock.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

const QDate Today(2026, 12, 6);

struct BackupRow
{
    const char *name;
    const char *lastBackup; // as stored; nullptr: never stored
    bool folderSet;
    AutoBackup::Outcome outcome;
    bool fileWritten;
    bool dateMovesToToday;
};

class AutoBackupByDays : public ::testing::TestWithParam<BackupRow>
{
protected:
    TempHome home;
    FixedClock clock{QDateTime(Today, QTime(9, 0))};
    SettingsStore store;
    QString folder = home.filePath(QStringLiteral("backups"));

    QString lastBackup() const { return OptionKeys::read(OptionKeys::LastAutoBackup, store); }
};

TEST_P(AutoBackupByDays, backsUpOnTheFirstStartThreeDaysOn)
{
    const BackupRow &row = GetParam();
    QDir().mkpath(folder);
    OptionKeys::save(store, OptionKeys::User, QStringLiteral("Alice"));
    OptionKeys::save(store, OptionKeys::AutoBackupDir, row.folderSet ? folder : QString());
    if (row.lastBackup)
        OptionKeys::save(store, OptionKeys::LastAutoBackup, QString::fromLatin1(row.lastBackup));
    const QString before = lastBackup();

    EXPECT_EQ(AutoBackup::run(), row.outcome);

    QFile file(AutoBackup::filePath(folder));
    EXPECT_EQ(file.exists(), row.fileWritten);
    if (row.fileWritten) {
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        // A registry export file (UTF-16LE) holding the program's values.
        const QString text = QString::fromUtf16(
                reinterpret_cast<const char16_t *>(file.readAll().constData() + 2),
                (file.size() - 2) / 2);
        EXPECT_TRUE(text.startsWith(QStringLiteral("Windows Registry Editor Version 5.00")));
        EXPECT_TRUE(text.contains(QStringLiteral("\"User\"=\"Alice\"")));
    }
    EXPECT_EQ(lastBackup(), row.dateMovesToToday ? QStringLiteral("2026-12-06") : before);
}

using O = AutoBackup::Outcome;
INSTANTIATE_TEST_SUITE_P(
        Days, AutoBackupByDays,
        ::testing::Values(BackupRow{"neverStored", nullptr, true, O::SameDay, false, true},
                          BackupRow{"sameDay", "2026-12-06", true, O::SameDay, false, true},
                          BackupRow{"oneDay", "2026-12-05", true, O::NotDue, false, false},
                          BackupRow{"twoDays", "2026-12-04", true, O::NotDue, false, false},
                          BackupRow{"threeDays", "2026-12-03", true, O::Written, true, true},
                          BackupRow{"usForm", "11/1/2026", true, O::Written, true, true},
                          BackupRow{"inTheFuture", "2026-12-09", true, O::NotDue, false, false},
                          BackupRow{"folderOff", "2026-11-01", false, O::NotDue, false, false},
                          BackupRow{"unreadableDate", "soon", true, O::SameDay, false, true}),
        [](const auto &info) { return std::string(info.param.name); });

TEST(AutoBackupFailure, aBackupThatCannotBeWrittenIsTriedAgainNextStart)
{
    TempHome home;
    FixedClock clock{QDateTime(Today, QTime(9, 0))};
    SettingsStore store;
    OptionKeys::save(store, OptionKeys::AutoBackupDir,
                     home.filePath(QStringLiteral("missing/deeper")));
    OptionKeys::save(store, OptionKeys::LastAutoBackup, QStringLiteral("2026-11-20"));

    EXPECT_EQ(AutoBackup::run(), AutoBackup::Outcome::Failed);
    EXPECT_EQ(OptionKeys::read(OptionKeys::LastAutoBackup, store), QStringLiteral("2026-11-20"));
}

} // namespace
