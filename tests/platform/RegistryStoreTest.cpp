#include "platform/RegistryStore.h"

#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

const QString kKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\Test\\Section");

TEST(RegistryStore, ValuesKeepCreationOrderWhenOverwritten)
{
    TempHome home;
    RegistryStore store(home.filePath(QStringLiteral("r.db")));
    ASSERT_TRUE(store.createKey(kKey));
    ASSERT_TRUE(store.setValue(kKey, RegValue::string(QStringLiteral("b"), QStringLiteral("1"))));
    ASSERT_TRUE(store.setValue(kKey, RegValue::string(QStringLiteral("a"), QStringLiteral("2"))));
    ASSERT_TRUE(store.setValue(kKey, RegValue::number(QStringLiteral("B"), 7)));

    const QList<RegValue> values = store.values(kKey);
    ASSERT_EQ(values.size(), 2);
    EXPECT_EQ(values[0].name, QStringLiteral("b"));
    EXPECT_EQ(values[0].dword, 7u);
    EXPECT_EQ(values[1].name, QStringLiteral("a"));
}

TEST(RegistryStore, NamesCompareWithoutCaseIncludingNonAscii)
{
    TempHome home;
    RegistryStore store(home.filePath(QStringLiteral("r.db")));
    ASSERT_TRUE(store.createKey(QStringLiteral("HKEY_CURRENT_USER\\Ärger\\X")));
    EXPECT_TRUE(store.keyExists(QStringLiteral("hkey_current_user\\ärger\\x")));
    ASSERT_TRUE(store.setValue(QStringLiteral("HKEY_CURRENT_USER\\Ärger\\X"),
                               RegValue::string(QStringLiteral("Größe"), QStringLiteral("v"))));
    const auto found =
            store.value(QStringLiteral("HKEY_CURRENT_USER\\ÄRGER\\x"), QStringLiteral("GRÖßE"));
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->name, QStringLiteral("Größe"));
}

TEST(RegistryStore, SetValueOnMissingKeyWritesNothing)
{
    TempHome home;
    RegistryStore store(home.filePath(QStringLiteral("r.db")));
    EXPECT_FALSE(store.setValue(kKey, RegValue::string(QStringLiteral("a"), QStringLiteral("b"))));
    EXPECT_FALSE(store.keyExists(kKey));
}

TEST(RegistryStore, TreeRoundTripsThroughReplaceTree)
{
    TempHome home;
    RegistryStore store(home.filePath(QStringLiteral("r.db")));
    RegKeyTree tree{QStringLiteral("1"),
                    {RegValue::string(QStringLiteral("v"), QStringLiteral("x|y"))},
                    {RegKeyTree{QStringLiteral("Setting"),
                                {RegValue::string(QStringLiteral("User"), QStringLiteral("Ann")),
                                 RegValue::number(QStringLiteral("N"), 4294967295u)},
                                {}}}};
    const QString path = QStringLiteral("HKEY_CURRENT_USER\\Software\\App\\1");
    ASSERT_TRUE(store.replaceTree(path, tree));
    const auto back = store.tree(path);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, tree);
}

TEST(RegistryStore, DamagedFileIsMovedAsideAndStoreStartsFresh)
{
    TempHome home;
    const QString file = home.filePath(QStringLiteral("r.db"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    }
    RegistryStore store(file);
    EXPECT_TRUE(store.isOpen());
    EXPECT_FALSE(store.openProblem().isEmpty());
    EXPECT_TRUE(store.createKey(kKey));
    const QStringList aside = QDir(home.path()).entryList({QStringLiteral("r.db.damaged-*")});
    ASSERT_EQ(aside.size(), 1);
    QFile kept(home.filePath(aside.first()));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray(4096, 'x'));
}

} // namespace
