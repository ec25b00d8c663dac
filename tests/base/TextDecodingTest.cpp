#include "base/TextDecoding.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

TEST(TextDecodingTest, SplitsLinesAtEveryKindOfLineEnd)
{
    using TextDecoding::splitLines;
    EXPECT_EQ(splitLines("a\r\nb\nc\rd"), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\r\n"), QStringList{"a"});
    EXPECT_EQ(splitLines("a\n\nb\n"), (QStringList{"a", "", "b"}));
    EXPECT_EQ(splitLines(""), QStringList{});
    EXPECT_EQ(splitLines("\r\n"), QStringList{""});
}

TEST(TextDecodingTest, DecodesByteOrderMarksUtf8AndWindows1252)
{
    using TextDecoding::decode;
    EXPECT_EQ(decode(QByteArray("\xFF\xFE"
                                "A\0\xE9\0",
                                6)),
              QString::fromUtf8("Aé"));
    EXPECT_EQ(decode(QByteArray("\xFE\xFF"
                                "\0A\0\xE9",
                                6)),
              QString::fromUtf8("Aé"));
    EXPECT_EQ(decode("\xEF\xBB\xBFna\xC3\xAFve"), QString::fromUtf8("naïve"));
    // A lone continuation byte is not UTF-8: the whole text is read as windows-1252.
    EXPECT_EQ(decode("na\xEFve \x85"), QString::fromUtf8("naïve …"));
    EXPECT_EQ(decode("\x81\x8D"), QString(QChar(0x81)) + QChar(0x8D));
    // A byte-order mark before text that is not UTF-8 after all is dropped, not shown.
    EXPECT_EQ(decode("\xEF\xBB\xBF[Alarm]\r\nna\xEFve"), QString::fromUtf8("[Alarm]\r\nnaïve"));
}

} // namespace
