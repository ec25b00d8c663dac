#include "platform/RegistryStore.h"
#include "platform/RegistryStoreCopies.h"
#include "support/FixedClock.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

const QString kApp = QStringLiteral(
        "HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\::: Quillomi :::\\1");
constexpr int kAlarms = 60; // as the fixtures were made (fixtures/make-stores.py)

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString fixture(const char *name)
{
    return QStringLiteral(STORE_FIXTURES "/") + QLatin1String(name);
}

// The content of the sound fixture, as a store must give it back.
void expectSoundContent(RegistryStore &store)
{
    EXPECT_EQ(store.values(kApp + QStringLiteral("\\Alarm")).size(), kAlarms);
    const auto user = store.value(kApp + QStringLiteral("\\Setting"), QStringLiteral("user"));
    ASSERT_TRUE(user.has_value());
    EXPECT_EQ(user->text, QStringLiteral("Ann"));
    EXPECT_EQ(store.value(kApp + QStringLiteral("\\Setting"), QStringLiteral("Vol"))->dword, 80u);
    EXPECT_EQ(store.subKeys(kApp), QStringList({"Alarm", "Setting"}));
}

// A copy of a fixture, writable whatever the checkout's modes are.
void place(const char *name, const QString &target)
{
    ASSERT_TRUE(QFile::copy(fixture(name), target));
    ASSERT_TRUE(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner));
}

QStringList namesIn(const TempHome &home, const QString &pattern)
{
    return QDir(home.path()).entryList({pattern}, QDir::Files, QDir::Name);
}

struct StoreFile
{
    const char *name;
    bool sound;
};

class StoreFixture : public ::testing::TestWithParam<StoreFile>
{
};

// Every file is either opened with all it holds, or moved aside untouched with a message and
// the newest good copy offered and put in place on request.
TEST_P(StoreFixture, OpensIntactOrIsMovedAsideWithTheNewestGoodCopyOffered)
{
    TempHome home;
    const QString file = home.filePath(QStringLiteral("registry.db"));
    const QByteArray original = bytesOf(fixture(GetParam().name));
    place(GetParam().name, file);
    // Copies of earlier days: the newest is damaged itself, so the one before is offered.
    place("sound.db", file + QStringLiteral(".good-20261201"));
    place("zero-page.db", file + QStringLiteral(".good-20261202"));

    RegistryStore store(file);
    ASSERT_TRUE(store.isOpen());
    if (GetParam().sound) {
        EXPECT_TRUE(store.openProblem().isEmpty()) << store.openProblem().toStdString();
        EXPECT_TRUE(store.restoreOffer().isEmpty());
        expectSoundContent(store);
        EXPECT_TRUE(store.setValue(kApp + QStringLiteral("\\Alarm"),
                                   RegValue::string(QStringLiteral("1"), QStringLiteral("new"))));
        EXPECT_TRUE(namesIn(home, QStringLiteral("registry.db.damaged-*")).isEmpty());
        return;
    }
    EXPECT_TRUE(store.openProblem().contains(QStringLiteral("could not be read")))
            << store.openProblem().toStdString();
    const QStringList aside = namesIn(home, QStringLiteral("registry.db.damaged-*"));
    ASSERT_EQ(aside.size(), 1);
    EXPECT_TRUE(store.openProblem().contains(aside.first()));
    EXPECT_EQ(bytesOf(home.filePath(aside.first())), original);
    // Fresh meanwhile, and usable.
    EXPECT_FALSE(store.keyExists(kApp));
    EXPECT_TRUE(store.createKey(kApp));

    EXPECT_TRUE(store.restoreOffer().contains(QStringLiteral("registry.db.good-20261201")))
            << store.restoreOffer().toStdString();
    ASSERT_TRUE(store.restoreGoodCopy()) << store.openProblem().toStdString();
    EXPECT_TRUE(store.openProblem().isEmpty());
    expectSoundContent(store);
    EXPECT_TRUE(store.setValue(kApp + QStringLiteral("\\Alarm"),
                               RegValue::string(QStringLiteral("1"), QStringLiteral("new"))));
    // Neither the damaged file nor the copy is used up.
    EXPECT_EQ(bytesOf(home.filePath(aside.first())), original);
    EXPECT_EQ(bytesOf(file + QStringLiteral(".good-20261201")), bytesOf(fixture("sound.db")));
}

INSTANTIATE_TEST_SUITE_P(
        Files, StoreFixture,
        ::testing::Values(StoreFile{"sound.db", true}, StoreFile{"missing-index.db", true},
                          StoreFile{"empty.db", false}, StoreFile{"not-sqlite.db", false},
                          StoreFile{"truncated.db", false}, StoreFile{"zero-page.db", false},
                          StoreFile{"zero-header.db", false},
                          StoreFile{"value-without-key.db", false},
                          StoreFile{"parent-cycle.db", false}, StoreFile{"own-parent.db", false},
                          StoreFile{"missing-table.db", false},
                          StoreFile{"missing-version.db", false}, StoreFile{"wrong-fold.db", false},
                          StoreFile{"unknown-type.db", false},
                          StoreFile{"dword-holding-text.db", false},
                          StoreFile{"blob-name.db", false}, StoreFile{"index-mismatch.db", false}),
        [](const auto &info) {
            std::string name = info.param.name;
            name = name.substr(0, name.find('.'));
            std::erase(name, '-');
            return name;
        });

TEST(RegistryStoreDamage, WithoutAGoodCopyNothingIsOffered)
{
    TempHome home;
    const QString file = home.filePath(QStringLiteral("registry.db"));
    place("parent-cycle.db", file);
    place("truncated.db", file + QStringLiteral(".good-20261202"));
    RegistryStore store(file);
    EXPECT_FALSE(store.openProblem().isEmpty());
    EXPECT_TRUE(store.restoreOffer().isEmpty());
    EXPECT_FALSE(store.restoreGoodCopy());
    EXPECT_TRUE(store.createKey(kApp));
}

TEST(RegistryStoreCopies, OneCopyADayTheNewestThreeKeptEachWholeAndPrivate)
{
    TempHome home;
    FixedClock clock(QDateTime(QDate(2026, 12, 30), QTime(9, 0)));
    const QString file = home.filePath(QStringLiteral("registry.db"));
    // Left by a copy that was killed.
    place("sound.db", file + QStringLiteral(".good-20261229.new-1"));
    for (int day = 0; day < 5; ++day) {
        for (int start = 0; start < 2; ++start) {
            RegistryStore store(file);
            ASSERT_TRUE(store.openProblem().isEmpty());
            ASSERT_TRUE(store.replaceValues(
                    kApp, {RegValue::number(QStringLiteral("Day"), quint32(day)),
                           RegValue::number(QStringLiteral("Start"), quint32(start))}));
            store.takeDailyCopy();
            store.waitForCopy();
        }
        clock.advanceDays(1);
    }
    EXPECT_EQ(namesIn(home, QStringLiteral("registry.db.good-*")),
              QStringList({"registry.db.good-20270101", "registry.db.good-20270102",
                           "registry.db.good-20270103"}));
    // Each copy is the store as the first start of its day found it, and sound.
    for (int day = 2; day < 5; ++day) {
        const QString copy = file + QStringLiteral(".good-2027010%1").arg(day - 1);
        EXPECT_EQ(QFile::permissions(copy),
                  QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        RegistryStore copied(copy);
        EXPECT_TRUE(copied.openProblem().isEmpty());
        EXPECT_EQ(copied.values(kApp),
                  QList<RegValue>({RegValue::number(QStringLiteral("Day"), quint32(day)),
                                   RegValue::number(QStringLiteral("Start"), 0)}));
    }
    EXPECT_TRUE(namesIn(home, QStringLiteral("*.new-*")).isEmpty());
}

TEST(RegistryStoreCopies, NoneOfAnEmptyStoreOrAfterDamage)
{
    TempHome home;
    const QString file = home.filePath(QStringLiteral("registry.db"));
    {
        RegistryStore store(file);
        store.takeDailyCopy();
        store.waitForCopy();
    }
    QFile::remove(file);
    place("wrong-fold.db", file);
    {
        RegistryStore store(file);
        ASSERT_TRUE(store.createKey(kApp));
        store.takeDailyCopy();
        store.waitForCopy();
    }
    EXPECT_TRUE(namesIn(home, QStringLiteral("registry.db.good-*")).isEmpty());
}

} // namespace
