#include "base/Language.h"

#include "base/AppPaths.h"
#include "support/TempHome.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

class LanguageTest : public ::testing::Test
{
protected:
    void write(const QString &name, const QByteArray &bytes)
    {
        QFile file(AppPaths::join(AppPaths::programFolder(), name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    TempHome m_home;
};

TEST_F(LanguageTest, LooksUpTextsBySectionAndNumber)
{
    write("Test.lang", "[Alarm]\nReminder\nSnooze\n\nOK\n[Edit]\nEdit\n");
    ASSERT_TRUE(LoadLanguage("Test.lang"));
    EXPECT_EQ(LangLines().first(), QString());
    EXPECT_EQ(LangLines().at(1), "[Alarm]");
    EXPECT_EQ(FindSection("[Alarm]"), 2);
    EXPECT_EQ(FindSection("Alarm"), 2);
    EXPECT_EQ(GetLangText("[Alarm]", 0), "Reminder");
    EXPECT_EQ(GetLangText("[Alarm]", 2), QString()); // an empty line is an empty text
    EXPECT_EQ(GetLangText("[Alarm]", 3), "OK");
    // Numbering runs on past the next header.
    EXPECT_EQ(GetLangText("[Alarm]", 4), "[Edit]");
    EXPECT_EQ(GetLangText("[Edit]", 0), "Edit");
    EXPECT_EQ(GetLangText("[Edit]", 1), QString()); // past the end of the file
    EXPECT_EQ(GetLangText("[Edit]", -1), QString());
}

TEST_F(LanguageTest, HeadersMatchExactly)
{
    write("Test.lang", "[alarm]\nlower\n[Alarm] \ntrailing\n [Edit]\nleading\n");
    ASSERT_TRUE(LoadLanguage("Test.lang"));
    EXPECT_EQ(FindSection("[Alarm]"), -1);
    EXPECT_EQ(FindSection("[Edit]"), -1);
    EXPECT_EQ(FindSection("[alarm]"), 2);
    // A missing section yields empty texts, never lines from elsewhere in the file.
    EXPECT_EQ(GetLangText("[Alarm]", 0), QString());
    EXPECT_EQ(GetLangText("[Alarm]", 1), QString());
    EXPECT_EQ(GetLangText("[Alarm]", 3), QString());
}

TEST_F(LanguageTest, AmpersandsAreDoubledOnLoadAndPlainOnRequest)
{
    write("Test.lang", "[About]\nTom & Jerry\nA && B\n");
    ASSERT_TRUE(LoadLanguage("Test.lang"));
    EXPECT_EQ(GetLangText("[About]", 0), "Tom && Jerry");
    EXPECT_EQ(GetLangPlainText("[About]", 0), "Tom & Jerry");
    EXPECT_EQ(GetLangText("[About]", 1), "A &&&& B");
    EXPECT_EQ(GetLangPlainText("[About]", 1), "A && B");
}

TEST_F(LanguageTest, ReadsCrLfAndLfAlike)
{
    write("Crlf.lang", "[Edit]\r\nEdit\r\nDelete\r\n\r\nOK\r\n");
    write("Lf.lang", "[Edit]\nEdit\nDelete\n\nOK");
    ASSERT_TRUE(LoadLanguage("Crlf.lang"));
    const QStringList crlf = LangLines();
    ASSERT_TRUE(LoadLanguage("Lf.lang"));
    EXPECT_EQ(LangLines(), crlf);
    EXPECT_EQ(LangLines().size(), 6);
    EXPECT_EQ(GetLangText("[Edit]", 1), "Delete");
    EXPECT_EQ(GetLangText("[Edit]", 3), "OK");
}

TEST_F(LanguageTest, DecodesUtf8AndFallsBackToWindows1252)
{
    write("Utf8.lang", "\xEF\xBB\xBF[Menu]\nCaf\xC3\xA9 \xE2\x82\xAC\n");
    ASSERT_TRUE(LoadLanguage("Utf8.lang"));
    EXPECT_EQ(GetLangText("[Menu]", 0), QString::fromUtf8("Café €"));

    // "Café €" and curly quotes in windows-1252: not valid UTF-8.
    write("Ansi.lang", "[Menu]\nCaf\xE9 \x80 \x93\x94\n");
    ASSERT_TRUE(LoadLanguage("Ansi.lang"));
    EXPECT_EQ(GetLangText("[Menu]", 0), QString::fromUtf8("Café € “”"));
}

TEST_F(LanguageTest, MissingFileFallsBackToEnglishAndReportsFailure)
{
    EXPECT_FALSE(LoadLanguage("Nowhere.lang"));
    EXPECT_EQ(LangLines(), QStringList{QString()});
    EXPECT_EQ(GetLangText("[Alarm]", 0), QString());

    write("English.lang", "[Alarm]\nReminder\n");
    EXPECT_FALSE(LoadLanguage("Nowhere.lang"));
    EXPECT_EQ(GetLangText("[Alarm]", 0), "Reminder");
}

// The shipped file covers every section the windows ask for, with the texts they number.
TEST_F(LanguageTest, ShippedEnglishFileHasEverySection)
{
    AppPaths::seedProgramFolder();
    ASSERT_TRUE(LoadLanguage("English.lang"));
    const struct
    {
        const char *section;
        int lastNumber;
    } sections[] = {{"[Reminder]", 4},      {"[Menu]", 50},
                    {"[Alarm]", 3},         {"[Edit]", 3},
                    {"[Recurrence]", 12},   {"[Option]", 26},
                    {"[About]", 3},         {"[Read]", 5},
                    {"[Search Web]", 2},    {"[Insert Text]", 1},
                    {"[Program list]", 1},  {"[Site list]", 1},
                    {"[Folder list]", 1},   {"[Add Program]", 1},
                    {"[My News]", 1},       {"[My News Settings]", 1},
                    {"[Quit Shut Down]", 5}};
    for (const auto &[section, lastNumber] : sections) {
        SCOPED_TRACE(section);
        ASSERT_GT(FindSection(section), 0);
        for (int n = 0; n <= lastNumber; ++n) {
            const QString text = GetLangText(section, n);
            EXPECT_FALSE(text.isEmpty()) << n;
            EXPECT_FALSE(text.startsWith(u'[')) << n; // stays inside its own section
        }
    }
    EXPECT_EQ(GetLangText("[Menu]", 1), "Stop");
    EXPECT_EQ(GetLangText("[Menu]", 49), "Quit");
    EXPECT_EQ(GetLangText("[Quit Shut Down]", 5), "OK");
}

} // namespace
