#include "base/AppPaths.h"
#include "platform/RegistryStore.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

mode_t modeOf(const QString &path)
{
    struct stat info = {};
    EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &info), 0) << path.toStdString();
    return info.st_mode & 07777;
}

// The program's folders and files hold the user's reminders and texts: nobody else may read
// them, whatever the umask, and also when an older version made them readable.
class PrivateFiles : public ::testing::TestWithParam<bool>
{
protected:
    PrivateFiles()
        : m_umask(::umask(022))
    {
        qputenv("QUILLOMI_DATA_DIR", m_data.path().toUtf8());
        QDir(m_data.path()).mkpath(QStringLiteral("chars/extra"));
        for (const char *name : {"English.lang", "chars/extra/Wobbo.acs"}) {
            QFile file(m_data.filePath(QLatin1String(name)));
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("shipped");
        }
    }
    ~PrivateFiles() override
    {
        qunsetenv("QUILLOMI_DATA_DIR");
        ::umask(m_umask);
    }

    QTemporaryDir m_data;
    mode_t m_umask;
};

TEST_P(PrivateFiles, WhatAStartCreatesIsTheUsersAlone)
{
    TempHome home;
    const bool olderVersionFiles = GetParam();
    if (olderVersionFiles) {
        for (const char *folder : {"share", "share/chars", "config", "run"}) {
            ASSERT_TRUE(QDir(home.path()).mkpath(QLatin1String(folder)));
            ASSERT_EQ(::chmod(QFile::encodeName(home.filePath(QLatin1String(folder))).constData(),
                              0755),
                      0);
        }
        RegistryStore::resetGlobal();
        {
            RegistryStore older(AppPaths::settingsFile());
            ASSERT_TRUE(older.createKey(QStringLiteral("HKEY_CURRENT_USER\\x")));
        }
        ASSERT_EQ(::chmod(QFile::encodeName(AppPaths::settingsFile()).constData(), 0644), 0);
    }
    AppPaths::seedProgramFolder();
    RegistryStore &store = RegistryStore::global();
    ASSERT_TRUE(store.openProblem().isEmpty()) << store.openProblem().toStdString();
    ASSERT_TRUE(store.replaceValues(QStringLiteral("HKEY_CURRENT_USER\\Software\\Test"),
                                    {RegValue::string(QStringLiteral("a"), QStringLiteral("b"))}));
    store.takeDailyCopy();
    store.waitForCopy();
    const QString runtime = AppPaths::runtimeFolder();

    const QString program = AppPaths::programFolder();
    const QString db = AppPaths::settingsFile();
    for (const QString &folder :
         QStringList{program, program + QStringLiteral("/chars"),
                     program + QStringLiteral("/chars/extra"), AppPaths::configFolder(), runtime})
        EXPECT_EQ(modeOf(folder), 0700u) << folder.toStdString();
    const QStringList copies =
            QDir(AppPaths::configFolder()).entryList({QStringLiteral("registry.db.good-*")});
    ASSERT_EQ(copies.size(), 1);
    for (const QString &file : QStringList{program + QStringLiteral("/English.lang"),
                                           program + QStringLiteral("/chars/extra/Wobbo.acs"), db,
                                           db + QStringLiteral("-wal"), db + QStringLiteral("-shm"),
                                           AppPaths::configFolder() + u'/' + copies.first()})
        EXPECT_EQ(modeOf(file), 0600u) << file.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Start, PrivateFiles, ::testing::Bool(), [](const auto &info) {
    return std::string(info.param ? "OverOlderFiles" : "Fresh");
});

} // namespace
