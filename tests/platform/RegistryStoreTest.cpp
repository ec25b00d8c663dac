#include "platform/RegistryStore.h"

#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <functional>
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

TEST(RegistryStore, SubkeysComeInCreationOrder)
{
    TempHome home;
    RegistryStore store(home.filePath(QStringLiteral("r.db")));
    for (const char *name : {"Zeta", "alpha", "Mid", "beta"})
        ASSERT_TRUE(store.createKey(kKey + u'\\' + QLatin1String(name)));
    // The same key in other letter case is no new key and keeps its first spelling.
    ASSERT_TRUE(store.createKey(kKey + QStringLiteral("\\ALPHA")));
    EXPECT_EQ(store.subKeys(kKey), QStringList({"Zeta", "alpha", "Mid", "beta"}));

    // A key deleted and created again comes last.
    ASSERT_TRUE(store.deleteKey(kKey + QStringLiteral("\\zeta")));
    ASSERT_TRUE(store.createKey(kKey + QStringLiteral("\\Zeta")));
    EXPECT_EQ(store.subKeys(kKey), QStringList({"alpha", "Mid", "beta", "Zeta"}));
}

TEST(RegistryStore, OverwrittenValueKeepsPlaceAndSpellingReplacedValuesTakeNewOrder)
{
    TempHome home;
    RegistryStore store(home.filePath(QStringLiteral("r.db")));
    ASSERT_TRUE(store.replaceValues(
            kKey, {RegValue::string(QStringLiteral("One"), QStringLiteral("1")),
                   RegValue::string(QStringLiteral("Two"), QStringLiteral("2")),
                   RegValue::string(QStringLiteral("Three"), QStringLiteral("3"))}));
    ASSERT_TRUE(
            store.setValue(kKey, RegValue::string(QStringLiteral("ONE"), QStringLiteral("uno"))));
    ASSERT_TRUE(store.deleteValue(kKey, QStringLiteral("two")));
    ASSERT_TRUE(
            store.setValue(kKey, RegValue::string(QStringLiteral("Two"), QStringLiteral("dos"))));
    const QList<RegValue> values = store.values(kKey);
    ASSERT_EQ(values.size(), 3);
    EXPECT_EQ(values[0], RegValue::string(QStringLiteral("One"), QStringLiteral("uno")));
    EXPECT_EQ(values[1].name, QStringLiteral("Three"));
    EXPECT_EQ(values[2], RegValue::string(QStringLiteral("Two"), QStringLiteral("dos")));

    ASSERT_TRUE(store.replaceValues(kKey, {RegValue::number(QStringLiteral("b"), 2),
                                           RegValue::number(QStringLiteral("a"), 1)}));
    EXPECT_EQ(store.values(kKey), QList<RegValue>({RegValue::number(QStringLiteral("b"), 2),
                                                   RegValue::number(QStringLiteral("a"), 1)}));
}

struct CaseCase
{
    const char *name;
    const char *stored;
    const char *asked;
    bool same;
};

class NameCase : public ::testing::TestWithParam<CaseCase>
{
};

TEST_P(NameCase, KeyAndValueNamesMatchWithoutCase)
{
    TempHome home;
    RegistryStore store(home.filePath(QStringLiteral("r.db")));
    const QString stored = QString::fromUtf8(GetParam().stored);
    const QString asked = QString::fromUtf8(GetParam().asked);
    ASSERT_TRUE(store.createKey(kKey + u'\\' + stored));
    ASSERT_TRUE(
            store.setValue(kKey + u'\\' + stored, RegValue::string(stored, QStringLiteral("v"))));
    EXPECT_EQ(store.keyExists(kKey + u'\\' + asked), GetParam().same);
    EXPECT_EQ(store.value(kKey + u'\\' + stored, asked).has_value(), GetParam().same);
}

INSTANTIATE_TEST_SUITE_P(Names, NameCase,
                         ::testing::Values(CaseCase{"Ascii", "Setting", "SETTING", true},
                                           CaseCase{"Umlaut", "Ärger", "äRGER", true},
                                           CaseCase{"Greek", "Σοφία", "ΣΟΦΊΑ", true},
                                           CaseCase{"Cyrillic", "Москва", "МОСКВА", true},
                                           CaseCase{"AccentIsNotCase", "cafe", "café", false},
                                           CaseCase{"SharpSIsNotDoubleS", "Straße", "STRASSE",
                                                    false},
                                           CaseCase{"Different", "Dir", "Dir0", false}),
                         [](const auto &info) { return std::string(info.param.name); });

// Ways a store file gets damaged: each is moved aside untouched with a message, and the
// program goes on with a fresh store.
struct Damage
{
    const char *name;
    std::function<void(QByteArray &)> apply;
};

QByteArray soundStoreBytes(const QString &file)
{
    {
        RegistryStore store(file);
        QList<RegValue> values;
        for (int i = 0; i < 2000; ++i)
            values << RegValue::string(QStringLiteral("k%1").arg(i), QString(40, u'x'));
        EXPECT_TRUE(store.replaceValues(kKey, values));
    }
    QFile f(file);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

class DamagedStore : public ::testing::TestWithParam<Damage>
{
};

TEST_P(DamagedStore, IsMovedAsideAndStoreStartsFresh)
{
    TempHome home;
    const QString file = home.filePath(QStringLiteral("r.db"));
    QByteArray bytes = soundStoreBytes(file);
    ASSERT_GT(bytes.size(), 16 * 1024);
    GetParam().apply(bytes);
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

    RegistryStore store(file);
    EXPECT_TRUE(store.isOpen());
    EXPECT_TRUE(store.openProblem().contains(QStringLiteral("could not be read")))
            << store.openProblem().toStdString();
    EXPECT_TRUE(store.values(kKey).isEmpty());
    ASSERT_TRUE(store.createKey(kKey));
    ASSERT_TRUE(store.setValue(kKey, RegValue::string(QStringLiteral("a"), QStringLiteral("b"))));
    EXPECT_EQ(store.value(kKey, QStringLiteral("A"))->text, QStringLiteral("b"));

    const QStringList aside = QDir(home.path()).entryList({QStringLiteral("r.db.damaged-*")});
    ASSERT_EQ(aside.size(), 1);
    EXPECT_TRUE(store.openProblem().contains(aside.first()));
    QFile kept(home.filePath(aside.first()));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), bytes);
}

TEST(RegistryStore, SecondDamagedFileDoesNotReplaceTheFirstCopy)
{
    TempHome home;
    const QString file = home.filePath(QStringLiteral("r.db"));
    for (const char fill : {'x', 'y'}) {
        {
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(QByteArray(4096, fill));
        }
        RegistryStore store(file);
        ASSERT_FALSE(store.openProblem().isEmpty());
    }
    const QStringList aside = QDir(home.path()).entryList({QStringLiteral("r.db.damaged-*")});
    ASSERT_EQ(aside.size(), 2);
    QSet<QByteArray> kept;
    for (const QString &name : aside) {
        QFile f(home.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        kept.insert(f.readAll());
    }
    EXPECT_EQ(kept, QSet<QByteArray>({QByteArray(4096, 'x'), QByteArray(4096, 'y')}));
}

INSTANTIATE_TEST_SUITE_P(Kinds, DamagedStore,
                         ::testing::Values(Damage{"NotADatabase",
                                                  [](QByteArray &b) {
                                                      b = QByteArray(4096, 'x');
                                                  }},
                                           Damage{"HeaderOverwritten",
                                                  [](QByteArray &b) {
                                                      b.replace(0, 16, QByteArray(16, '\x7f'));
                                                  }},
                                           Damage{"Truncated",
                                                  [](QByteArray &b) {
                                                      b.truncate(b.size() / 2);
                                                  }},
                                           Damage{"PageGarbled",
                                                  [](QByteArray &b) {
                                                      for (qsizetype i = 4096 * 3;
                                                           i < 4096 * 4 && i < b.size(); ++i)
                                                          b[i] = char(i * 7);
                                                  }}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
