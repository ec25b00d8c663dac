#include "platform/RegistryOps.h"

#include "platform/RegistryStore.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

namespace {

const QString kRun =
        QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");
const QString kAgent = QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Microsoft Agent");

// Collects the format messages instead of logging them.
class RegistryOpsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetRegistryMessageHandler([this](const QString &text) { messages << text; });
    }
    void TearDown() override { SetRegistryMessageHandler({}); }

    TempHome home;
    QStringList messages;
};

struct SplitCase
{
    const char *name;
    const char *path;
    quint32 root;
    const char *subKey;
    bool refused;
};

class SplitRegPathTest : public RegistryOpsTest, public ::testing::WithParamInterface<SplitCase>
{
};

TEST_P(SplitRegPathTest, SplitsRootAndSubKey)
{
    const SplitCase &c = GetParam();
    const QString path = QString::fromUtf8(c.path);
    const RegPathSplit split = SplitRegPath(path);
    EXPECT_EQ(split.root, c.root);
    if (c.refused) {
        ASSERT_EQ(messages.size(), 1);
        EXPECT_EQ(messages.first(), QStringLiteral("Incorrect Format:\n\n") + path);
    } else {
        EXPECT_TRUE(messages.isEmpty());
        EXPECT_EQ(split.subKey, QString::fromUtf8(c.subKey));
    }
}

INSTANTIATE_TEST_SUITE_P(
        Paths, SplitRegPathTest,
        ::testing::Values(
                SplitCase{"ClassesRoot", "HKEY_CLASSES_ROOT\\.txt", 0x80000000, ".txt", false},
                SplitCase{"CurrentUser", "HKEY_CURRENT_USER\\Software\\A\\B", 0x80000001,
                          "Software\\A\\B", false},
                SplitCase{"LocalMachine", "HKEY_LOCAL_MACHINE\\X", 0x80000002, "X", false},
                SplitCase{"Users", "HKEY_USERS\\X", 0x80000003, "X", false},
                SplitCase{"PerformanceData", "HKEY_PERFORMANCE_DATA\\X", 0x80000004, "X", false},
                SplitCase{"CurrentConfig", "HKEY_CURRENT_CONFIG\\X", 0x80000005, "X", false},
                SplitCase{"DynData", "HKEY_DYN_DATA\\X", 0x80000006, "X", false},
                SplitCase{"RootOnly", "HKEY_CURRENT_USER", 0x80000001, "", false},
                SplitCase{"RootNameAnyCase", "hkey_current_user\\x", 0x80000001, "x", false},
                SplitCase{"UnknownRootQuietlyZero", "HKEY_NOWHERE\\X", 0, "X", false},
                SplitCase{"NoRootName", "Software\\X", 0, "", true},
                SplitCase{"ShortRootName", "HKCU\\Software", 0, "", true},
                SplitCase{"Empty", "", 0, "", true},
                SplitCase{"TrailingBackslash", "HKEY_CURRENT_USER\\Software\\", 0, "", true}),
        [](const auto &info) { return std::string(info.param.name); });

TEST_F(RegistryOpsTest, SetStringOnMissingKeyWritesNothing)
{
    RegSetString(kRun, QStringLiteral("App"), QStringLiteral("/bin/app"));
    EXPECT_EQ(RegLastResult(), RegResult::NotFound);
    EXPECT_FALSE(RegistryStore::global().keyExists(kRun));
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(RegGetString(kRun, QStringLiteral("App")), QStringLiteral("    "));
}

TEST_F(RegistryOpsTest, CreateSetAndGetRoundTrip)
{
    RegCreateKeyPath(kAgent);
    EXPECT_EQ(RegLastResult(), RegResult::Success);
    RegSetDword(kAgent, QStringLiteral("SpeakingSpeed"), 4);
    EXPECT_EQ(RegLastResult(), RegResult::Success);
    RegSetString(kAgent, QStringLiteral("Note"), QStringLiteral("  two words \t "));
    EXPECT_EQ(RegLastResult(), RegResult::Success);

    const auto dword = RegistryStore::global().value(kAgent, QStringLiteral("speakingspeed"));
    ASSERT_TRUE(dword.has_value());
    EXPECT_EQ(dword->type, RegValue::Type::Dword);
    EXPECT_EQ(dword->dword, 4u);
    // Stored exactly; reading trims spaces only and keeps the last character.
    EXPECT_EQ(RegistryStore::global().value(kAgent, QStringLiteral("Note"))->text,
              QStringLiteral("  two words \t "));
    EXPECT_EQ(RegGetString(kAgent, QStringLiteral("NOTE")), QStringLiteral("two words \t"));
    EXPECT_EQ(RegLastResult(), RegResult::Success);
    EXPECT_EQ(RegGetString(kAgent, QStringLiteral("SpeakingSpeed")), QStringLiteral("4"));
}

TEST_F(RegistryOpsTest, MissingValueInExistingKeyReadsEmpty)
{
    RegCreateKeyPath(kAgent);
    EXPECT_EQ(RegGetString(kAgent, QStringLiteral("Nothing")), QString());
    EXPECT_EQ(RegLastResult(), RegResult::NotFound);
}

TEST_F(RegistryOpsTest, RefusedPathsDoNothingAndSetTheResult)
{
    RegCreateKeyPath(QStringLiteral("Software\\X"));
    EXPECT_EQ(RegLastResult(), RegResult::InvalidHandle);
    RegCreateKeyPath(QStringLiteral("HKEY_NOWHERE\\X"));
    EXPECT_EQ(RegLastResult(), RegResult::InvalidHandle);
    EXPECT_FALSE(RegistryStore::global().keyExists(QStringLiteral("HKEY_NOWHERE\\X")));
    EXPECT_EQ(RegGetString(QStringLiteral("HKEY_CURRENT_USER\\"), QStringLiteral("v")),
              QStringLiteral("    "));
    EXPECT_EQ(messages.size(), 2);
}

TEST_F(RegistryOpsTest, DeleteValueAtRemovesOnlyThatValue)
{
    RegCreateKeyPath(kAgent);
    RegSetDword(kAgent, QStringLiteral("A"), 1);
    RegSetDword(kAgent, QStringLiteral("B"), 2);
    RegDeleteValueAt(RegRoot::CurrentUser, QStringLiteral("Software\\Microsoft\\Microsoft Agent"),
                     QStringLiteral("a"));
    EXPECT_EQ(RegLastResult(), RegResult::Success);
    const QList<RegValue> left = RegistryStore::global().values(kAgent);
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(left.first().name, QStringLiteral("B"));

    RegDeleteValueAt(RegRoot::CurrentUser, QStringLiteral("Software\\Microsoft\\Microsoft Agent"),
                     QStringLiteral("a"));
    EXPECT_EQ(RegLastResult(), RegResult::NotFound);
    RegDeleteValueAt(0, QStringLiteral("Software"), QStringLiteral("B"));
    EXPECT_EQ(RegLastResult(), RegResult::InvalidHandle);
    EXPECT_EQ(RegistryStore::global().values(kAgent).size(), 1);
}

TEST_F(RegistryOpsTest, DeleteKeyPathRefusesRootKeys)
{
    RegCreateKeyPath(kAgent);
    RegDeleteKeyPath(QStringLiteral("HKEY_CURRENT_USER"));
    EXPECT_EQ(RegLastResult(), RegResult::InvalidHandle);
    EXPECT_TRUE(RegistryStore::global().keyExists(kAgent));
    RegDeleteKeyPath(QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft"));
    EXPECT_EQ(RegLastResult(), RegResult::Success);
    EXPECT_FALSE(RegistryStore::global().keyExists(kAgent));
    EXPECT_TRUE(RegistryStore::global().keyExists(QStringLiteral("HKEY_CURRENT_USER\\Software")));
}

} // namespace
