#include "platform/RegistryStore.h"

#include "AwkwardTexts.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QSet>
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

class StoredText : public ::testing::TestWithParam<AwkwardText>
{
};

TEST_P(StoredText, ComesBackAsItWentIn)
{
    TempHome home;
    const QString file = home.filePath(QStringLiteral("r.db"));
    const AwkwardText &awkward = GetParam();
    const QString key = awkward.fitsAKeyName() ? kKey + u'\\' + awkward.text : kKey;
    const QString name = awkward.fitsAValueName() ? awkward.text : QStringLiteral("v");
    {
        RegistryStore store(file);
        ASSERT_TRUE(store.createKey(key));
        ASSERT_TRUE(store.setValue(key, RegValue::string(name, awkward.text)));
    }
    // Read back by a new connection, as at the next start.
    RegistryStore store(file);
    if (awkward.fitsAKeyName()) {
        EXPECT_EQ(store.subKeys(kKey), QStringList{awkward.text});
    }
    EXPECT_EQ(store.values(key), QList<RegValue>{RegValue::string(name, awkward.text)});
    const auto found = store.value(key, name);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->text, awkward.text);
}

INSTANTIATE_TEST_SUITE_P(Texts, StoredText, ::testing::ValuesIn(awkwardTexts()),
                         [](const auto &info) { return std::string(info.param.name); });

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

} // namespace
