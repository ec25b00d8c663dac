#include "platform/RegFile.h"

#include "AwkwardTexts.h"
#include "platform/RegFileReader.h"
#include "platform/RegFileWriter.h"
#include "platform/RegistryStore.h"
#include "support/TempHome.h"

#include <QFile>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <gtest/gtest.h>

namespace {

const QString kApp = QStringLiteral(
        "HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\::: Quillomi :::\\1");
const QString kOther = QStringLiteral(
        "HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\::: Brindle :::\\1");

QByteArray utf16File(const QString &text)
{
    QStringEncoder encoder(QStringConverter::Utf16LE);
    return QByteArray("\xff\xfe", 2) + QByteArray(encoder(text));
}

RegKeyTree section(const QString &name, QList<RegValue> values)
{
    return RegKeyTree{name, std::move(values), {}};
}

class RegFileTest : public ::testing::Test
{
protected:
    RegFileTest()
        : store(home.filePath(QStringLiteral("r.db")))
    {}

    // What the store holds before each import: the application and a neighbour.
    void fill()
    {
        ASSERT_TRUE(store.replaceTree(
                kApp, RegKeyTree{QStringLiteral("1"),
                                 {},
                                 {section(QStringLiteral("Setting"),
                                          {RegValue::string(QStringLiteral("User"),
                                                            QStringLiteral("Old"))}),
                                  section(QStringLiteral("Alarm"), {})}}));
        ASSERT_TRUE(store.replaceValues(
                kOther + QStringLiteral("\\Chars"),
                {RegValue::string(QStringLiteral("CharsDir"), QStringLiteral("/c"))}));
    }

    RegKeyTree roundTrip(const RegKeyTree &tree)
    {
        EXPECT_TRUE(store.replaceTree(kApp, tree));
        const QString file = home.filePath(QStringLiteral("backup.cfg"));
        QString error;
        EXPECT_TRUE(RegFile::exportKey(store, kApp, file, &error)) << error.toStdString();
        EXPECT_EQ(QFile::permissions(file),
                  QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        EXPECT_TRUE(store.deleteKey(kApp));
        EXPECT_TRUE(RegFile::importFile(store, file, kApp, &error)) << error.toStdString();
        return store.tree(kApp).value_or(RegKeyTree{});
    }

    TempHome home;
    RegistryStore store;
};

class RegFileText : public RegFileTest, public ::testing::WithParamInterface<AwkwardText>
{
};

TEST_P(RegFileText, ExportThenImportGivesTheSameText)
{
    const AwkwardText &awkward = GetParam();
    // As a value's data, and as a value and a key name where a name can hold it.
    QList<RegValue> values{RegValue::string(QStringLiteral("v"), awkward.text)};
    if (awkward.fitsAValueName())
        values << RegValue::string(awkward.text, QStringLiteral("named"));
    RegKeyTree tree{QStringLiteral("1"), {}, {section(QStringLiteral("Alarm"), values)}};
    if (awkward.fitsAKeyName())
        tree.subkeys << section(awkward.text, {RegValue::number(QStringLiteral("n"), 1)});
    EXPECT_EQ(roundTrip(tree), tree);
}

INSTANTIATE_TEST_SUITE_P(Texts, RegFileText, ::testing::ValuesIn(awkwardTexts()),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(RegFileTest, WholeTreeRoundTripsInItsOrder)
{
    const RegKeyTree tree{
            QStringLiteral("1"),
            {RegValue::string(QString(), QStringLiteral("default")),
             RegValue::number(QStringLiteral("Top"), 0)},
            {section(QStringLiteral("Setting"),
                     {RegValue::string(QStringLiteral("User"), QStringLiteral("Zoë")),
                      RegValue::string(QStringLiteral("Lang"), QStringLiteral("English.lang")),
                      RegValue::number(QStringLiteral("Max"), 0xffffffffu),
                      RegValue::number(QStringLiteral("Answer"), 42)}),
             section(QStringLiteral("Alarm"),
                     {RegValue::string(QStringLiteral("2"), QStringLiteral("b")),
                      RegValue::string(QStringLiteral("1"), QStringLiteral("a"))}),
             RegKeyTree{QStringLiteral("Dir"),
                        {},
                        {section(QStringLiteral("Nested ] key"), {}),
                         section(QStringLiteral("Ärger"),
                                 {RegValue::string(QStringLiteral("x"), QStringLiteral("y"))})}},
             section(QStringLiteral("Empty"), {})}};
    EXPECT_EQ(roundTrip(tree), tree);
}

TEST_F(RegFileTest, WritesTheRegistryToolsExactForm)
{
    const RegKeyTree tree{
            QStringLiteral("1"),
            {},
            {section(QStringLiteral("Setting"),
                     {RegValue::string(QStringLiteral("Path"), QStringLiteral("C:\\a \"b\"")),
                      RegValue::number(QStringLiteral("N"), 42)}),
             section(QStringLiteral("Txt"),
                     {RegValue::string(QStringLiteral("Txt0"), QStringLiteral("a\nb"))})}};
    const auto bytes = RegFileWriter::bytes(kApp, tree);
    ASSERT_TRUE(bytes.has_value());
    const QString expected = QStringLiteral(
            "Windows Registry Editor Version 5.00\r\n"
            "\r\n"
            "[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\::: Quillomi :::\\1]\r\n"
            "\r\n"
            "[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\::: Quillomi "
            ":::\\1\\Setting]\r\n"
            "\"Path\"=\"C:\\\\a \\\"b\\\"\"\r\n"
            "\"N\"=dword:0000002a\r\n"
            "\r\n"
            "[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\::: Quillomi "
            ":::\\1\\Txt]\r\n"
            "\"Txt0\"=hex(1):61,00,0a,00,62,00,00,00\r\n"
            "\r\n");
    EXPECT_EQ(*bytes, utf16File(expected));
}

TEST_F(RegFileTest, LongHexDataIsWrappedAndReadBack)
{
    const QString text = QString(QStringLiteral("x\n")).repeated(100);
    const auto written = RegFileWriter::text(
            kApp,
            RegKeyTree{QStringLiteral("1"), {RegValue::string(QStringLiteral("t"), text)}, {}});
    ASSERT_TRUE(written.has_value());
    for (const QString &line : written->split(QStringLiteral("\r\n")))
        EXPECT_LE(line.size(), 80) << line.toStdString();
    ASSERT_TRUE(RegFile::importBytes(store, utf16File(*written), QString()));
    EXPECT_EQ(store.value(kApp, QStringLiteral("t"))->text, text);
}

// A file as the system's registry tool writes it: BOM, CRLF, blank lines, hex(1) text
// continued over lines, @ default value, a comment.
TEST_F(RegFileTest, ReadsTheRegistryToolsUnicodeFile)
{
    fill();
    const QString file = QStringLiteral(
            "Windows Registry Editor Version 5.00\r\n"
            "\r\n"
            "[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\::: Quillomi :::\\1]\r\n"
            "\r\n"
            "[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\::: Quillomi "
            ":::\\1\\Alarm]\r\n"
            "\"1\"=\"12/24/2026|8:00:00 AM|Gifts|Wrap \\\"them\\\"|0|\"\r\n"
            "\"2\"=hex(1):4c,00,69,00,6e,00,65,00,20,00,31,00,0d,00,0a,00,4c,00,69,00,6e,00,\\\r\n"
            "  65,00,20,00,32,00,00,00\r\n"
            "\r\n"
            "; options\r\n"
            "[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\::: Quillomi "
            ":::\\1\\Setting]\r\n"
            "@=\"\"\r\n"
            "\"User\"=\"Jürgen\"\r\n"
            "\"Vol\"=dword:0000E4A4\r\n"
            "\r\n");
    QString error;
    ASSERT_TRUE(RegFile::importBytes(store, utf16File(file), kApp, &error)) << error.toStdString();
    const RegKeyTree expected{
            QStringLiteral("1"),
            {},
            {section(QStringLiteral("Alarm"),
                     {RegValue::string(
                              QStringLiteral("1"),
                              QStringLiteral("12/24/2026|8:00:00 AM|Gifts|Wrap \"them\"|0|")),
                      RegValue::string(QStringLiteral("2"), QStringLiteral("Line 1\r\nLine 2"))}),
             section(QStringLiteral("Setting"),
                     {RegValue::string(QString(), QString()),
                      RegValue::string(QStringLiteral("User"), QStringLiteral("Jürgen")),
                      RegValue::number(QStringLiteral("Vol"), 58532)})}};
    EXPECT_EQ(store.tree(kApp), expected);
    // Only the application's key was replaced.
    EXPECT_EQ(store.value(kOther + QStringLiteral("\\Chars"), QStringLiteral("CharsDir"))->text,
              QStringLiteral("/c"));
}

TEST_F(RegFileTest, ReadsTheSingleByteRegedit4Form)
{
    fill();
    const QByteArray file = "REGEDIT4\r\n"
                            "\r\n"
                            "[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\::: "
                            "Quillomi :::\\1\\Setting]\n"
                            "\"User\"=\"Ren\xe9\"\n"
                            "\"Quote\"=\"\x93hi\x94 \x80\x35\"\n"
                            "\"Path\"=hex(2):25,54,45,4d,50,25,5c,e9,00\n";
    QString error;
    ASSERT_TRUE(RegFile::importBytes(store, file, kApp, &error)) << error.toStdString();
    EXPECT_EQ(store.values(kApp + QStringLiteral("\\Setting")),
              QList<RegValue>(
                      {RegValue::string(QStringLiteral("User"), QStringLiteral("René")),
                       RegValue::string(QStringLiteral("Quote"), QStringLiteral("“hi” €5")),
                       RegValue::string(QStringLiteral("Path"), QStringLiteral("%TEMP%\\é"))}));
    // The file had no line for the application key itself: its old sections are gone.
    EXPECT_FALSE(store.keyExists(kApp + QStringLiteral("\\Alarm")));
}

TEST_F(RegFileTest, WithoutTargetTheFirstKeyIsReplacedAndShortRootsAreUnderstood)
{
    fill();
    const QString file = QStringLiteral(
            "Windows Registry Editor Version 5.00\r\n\r\n"
            "[HKCU\\Software\\VB and VBA Program Settings\\::: Quillomi :::\\1\\Setting]\r\n"
            "\"User\"=\"New\"\r\n\r\n"
            "[hkey_current_user\\software\\vb and vba program settings\\::: quillomi "
            ":::\\1\\setting\\deeper\\still]\r\n"
            "\"a\"=\"b\"\r\n"
            "\"A\"=\"c\"\r\n");
    QString error;
    ASSERT_TRUE(RegFile::importBytes(store, utf16File(file), QString(), &error))
            << error.toStdString();
    EXPECT_EQ(store.value(kApp + QStringLiteral("\\Setting"), QStringLiteral("User"))->text,
              QStringLiteral("New"));
    EXPECT_TRUE(store.keyExists(kApp + QStringLiteral("\\Alarm")));
    // A value named twice keeps its first spelling and its last data.
    EXPECT_EQ(store.values(kApp + QStringLiteral("\\Setting\\Deeper\\Still")),
              QList<RegValue>({RegValue::string(QStringLiteral("a"), QStringLiteral("c"))}));
}

struct BadFile
{
    const char *name;
    QByteArray bytes;
    const char *message; // a part of the expected error
};

class RegFileBad : public RegFileTest, public ::testing::WithParamInterface<BadFile>
{
};

QByteArray unicode(const QByteArray &text)
{
    return utf16File(QString::fromUtf8(text));
}

const char *kGood = "Windows Registry Editor Version 5.00\r\n\r\n"
                    "[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\::: Quillomi "
                    ":::\\1\\Setting]\r\n"
                    "\"User\"=\"New\"\r\n"
                    "\"Vol\"=dword:00000001\r\n\r\n";

QByteArray garbage()
{
    QRandomGenerator random(7);
    QByteArray bytes(3000, '\0');
    for (char &b : bytes)
        b = char(random.bounded(256));
    return bytes;
}

TEST_P(RegFileBad, IsRejectedWithItsLineAndTheStoreIsUntouched)
{
    fill();
    const auto before = store.tree(QStringLiteral("HKEY_CURRENT_USER"));
    QString error;
    EXPECT_FALSE(RegFile::importBytes(store, GetParam().bytes, kApp, &error));
    EXPECT_TRUE(error.contains(QString::fromUtf8(GetParam().message))) << error.toStdString();
    EXPECT_EQ(store.tree(QStringLiteral("HKEY_CURRENT_USER")), before);
}

const char *kKeyLine =
        "[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\::: Quillomi :::\\1\\S]\r\n";

QByteArray withValue(const char *line)
{
    return unicode((QByteArray("Windows Registry Editor Version 5.00\r\n\r\n") + kKeyLine + line +
                    "\r\n\r\n"));
}

INSTANTIATE_TEST_SUITE_P(
        Files, RegFileBad,
        ::testing::Values(
                BadFile{"Empty", QByteArray(), "Line 1: the file is empty"},
                BadFile{"WrongHeader", unicode("Windows Registry Editor Version 6.00\r\n"),
                        "Line 1: this is not a registry file"},
                BadFile{"Garbage", garbage(), "Line 1: this is not a registry file"},
                BadFile{"GarbageAfterBom", QByteArray("\xff\xfe", 2) + garbage(),
                        "Line 1: this is not a registry file"},
                BadFile{"BadUtf8", QByteArray("\xef\xbb\xbfREGEDIT\xff\r\n"), "not valid UTF-8"},
                BadFile{"OddByteCount", unicode(kGood).chopped(1),
                        "cut off in the middle of a character"},
                BadFile{"TruncatedInsideText",
                        unicode(kGood).left(unicode(kGood).indexOf(QByteArray("N\0e\0w", 5))),
                        "Line 4: a quoted text has no closing quote"},
                BadFile{"ZeroCharacters", unicode(kGood) + QByteArray(8, '\0'),
                        "Line 7: the line holds a zero character"},
                BadFile{"HeaderOnly", unicode("Windows Registry Editor Version 5.00\r\n\r\n"),
                        "no registry key"},
                BadFile{"ValueBeforeKey", unicode("REGEDIT4\r\n\"a\"=\"b\"\r\n"),
                        "Line 2: a value comes before the first key"},
                BadFile{"UnterminatedQuote", withValue("\"User\"=\"New"),
                        "Line 4: a quoted text has no closing quote"},
                BadFile{"UnterminatedName", withValue("\"User=\"New"), "Line 4: expected \"=\""},
                BadFile{"TextAfterQuote", withValue("\"User\"=\"New\" x"),
                        "Line 4: unexpected text after the closing quote"},
                BadFile{"UnknownEscape", withValue("\"User\"=\"a\\nb\""), "Line 4: unknown escape"},
                BadFile{"DwordTooLong", withValue("\"N\"=dword:000000001"),
                        "Line 4: a dword needs"},
                BadFile{"DwordNotHex", withValue("\"N\"=dword:0000002g"), "Line 4: a dword needs"},
                BadFile{"DwordEmpty", withValue("\"N\"=dword:"), "Line 4: a dword needs"},
                BadFile{"DeleteValue", withValue("\"N\"=-"), "Line 4: deleting values"},
                BadFile{"DeleteKey", unicode("REGEDIT4\r\n[-HKEY_CURRENT_USER\\Software]\r\n"),
                        "Line 2: deleting keys"},
                BadFile{"Binary", withValue("\"B\"=hex:01,02"), "Line 4: values of kind"},
                BadFile{"MultiString", withValue("\"M\"=hex(7):41,00,00,00,00,00"),
                        "Line 4: values of kind \"hex(7)\""},
                BadFile{"BadHexByte", withValue("\"T\"=hex(1):41,0x0"),
                        "Line 4: \"0x0\" is not a hexadecimal byte"},
                BadFile{"OddHexText", withValue("\"T\"=hex(1):41,00,42"),
                        "Line 4: a text in hex form needs an even number"},
                BadFile{"HexContinuedPastEnd",
                        unicode((QByteArray("REGEDIT4\r\n") + kKeyLine + "\"T\"=hex(2):41,\\\r\n")),
                        "Line 3: the file ends inside this value"},
                BadFile{"UnknownKind", withValue("\"T\"=text:abc"),
                        "Line 4: unknown kind of value data"},
                BadFile{"BareWord", withValue("User=New"), "Line 4: expected a key line"},
                BadFile{"KeyWithoutBracket",
                        unicode("REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\r\n"),
                        "Line 2: a key line must end with \"]\""},
                BadFile{"UnknownRoot", unicode("REGEDIT4\r\n[HKEY_NOWHERE\\Software]\r\n"),
                        "Line 2: the key path"},
                BadFile{"EmptyKeyName", unicode("REGEDIT4\r\n[HKEY_CURRENT_USER\\\\Software]\r\n"),
                        "empty key name"},
                BadFile{"KeyOutsideTarget",
                        unicode((QByteArray(kGood) + "[HKEY_CURRENT_USER\\Software\\Other]\r\n")),
                        "Line 7: the key \"HKEY_CURRENT_USER\\Software\\Other\" lies outside"},
                BadFile{"ErrorAfterGoodLines",
                        unicode((QByteArray(kGood) + kKeyLine + "\"x\"=dword:zz\r\n")),
                        "Line 8: a dword needs"}),
        [](const auto &info) { return std::string(info.param.name); });

TEST_F(RegFileTest, MissingFileAndMissingKeyAreReported)
{
    fill();
    QString error;
    EXPECT_FALSE(
            RegFile::importFile(store, home.filePath(QStringLiteral("none.cfg")), kApp, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("Could not read"))) << error.toStdString();
    EXPECT_FALSE(RegFile::exportKey(store, kApp + QStringLiteral("\\Nothing"),
                                    home.filePath(QStringLiteral("x.cfg")), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("no key"))) << error.toStdString();
    EXPECT_FALSE(QFile::exists(home.filePath(QStringLiteral("x.cfg"))));
}

TEST_F(RegFileTest, NamesWithLineBreaksAreRefusedOnExport)
{
    ASSERT_TRUE(store.replaceValues(
            kApp, {RegValue::string(QStringLiteral("a\nb"), QStringLiteral("x"))}));
    QString error;
    EXPECT_FALSE(RegFile::exportKey(store, kApp, home.filePath(QStringLiteral("x.cfg")), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("control character"))) << error.toStdString();
}

} // namespace
