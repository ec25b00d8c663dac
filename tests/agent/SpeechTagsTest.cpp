#include "agent/SpeechTags.h"

#include <gtest/gtest.h>

namespace {

// A compact picture of a script: text pieces with the settings that differ from the
// defaults, pauses and marks.
std::string describe(const SpeechScript &script)
{
    QStringList parts;
    for (const SpeechPiece &piece : script.pieces) {
        switch (piece.kind) {
        case SpeechPiece::Kind::Pause:
            parts << QStringLiteral("pause%1").arg(piece.value);
            continue;
        case SpeechPiece::Kind::Mark:
            parts << QStringLiteral("mark%1").arg(piece.value);
            continue;
        case SpeechPiece::Kind::Text:
            break;
        }
        QStringList settings;
        if (piece.volume != 65535)
            settings << QStringLiteral("vol%1").arg(piece.volume);
        if (piece.speed)
            settings << QStringLiteral("spd%1").arg(piece.speed);
        if (piece.pitch)
            settings << QStringLiteral("pit%1").arg(piece.pitch);
        if (piece.emphasis)
            settings << QStringLiteral("emp");
        if (piece.whisper)
            settings << QStringLiteral("whisper");
        if (piece.monotone)
            settings << QStringLiteral("monotone");
        QString text = u'\'' + piece.spoken + u'\'';
        if (piece.shown != piece.spoken)
            text += u"=>'" + piece.shown + u'\'';
        parts << (settings.isEmpty() ? text : settings.join(u',') + u':' + text);
    }
    return parts.join(u" | ").toStdString();
}

struct TagRow
{
    const char *name;
    const char *input;
    const char *shown;
    const char *pieces;
};

class SpeechTagsTable : public ::testing::TestWithParam<TagRow>
{
};

TEST_P(SpeechTagsTable, ParsesIntoNeutralForm)
{
    const TagRow &row = GetParam();
    const SpeechScript script = SpeechTags::parse(QString::fromUtf8(row.input));
    EXPECT_EQ(script.shownText().toStdString(), row.shown);
    EXPECT_EQ(describe(script), row.pieces);
}

INSTANTIATE_TEST_SUITE_P(
        Rows, SpeechTagsTable,
        ::testing::Values(
                TagRow{"plain", "Hello there.", "Hello there.", "'Hello there.'"},
                TagRow{"volume_prefix", "\\Vol=58500\\Time to go", "Time to go",
                       "vol58500:'Time to go'"},
                TagRow{"names_ignore_case", "\\vOL=100\\a\\SPD=120\\b\\PiT=200\\c", "abc",
                       "vol100:'a' | vol100,spd120:'b' | vol100,spd120,pit200:'c'"},
                TagRow{"pause_between_words", "Hi I'm Wobbo \\pau=1000\\ How are you",
                       "Hi I'm Wobbo  How are you", "'Hi I'm Wobbo ' | pause1000 | ' How are you'"},
                TagRow{"volume_clamped", "\\Vol=99999\\x", "x", "'x'"},
                TagRow{"pause_clamped", "\\Pau=999999999\\", "", "pause30000"},
                TagRow{"speed_and_pitch_clamped", "\\Spd=1\\a\\Pit=9000\\b", "ab",
                       "spd50:'a' | spd50,pit400:'b'"},
                TagRow{"bad_number_dropped", "\\Vol=loud\\x", "x", "'x'"},
                TagRow{"mark", "one\\Mrk=7\\two", "onetwo", "'one' | mark7 | 'two'"},
                TagRow{"emphasis_next_piece_only", "a \\Emp\\big deal", "a big deal",
                       "'a ' | emp:'big deal'"},
                TagRow{"character_style", "\\Chr=\"Whisper\"\\psst\\Chr=\"Normal\"\\ok", "psstok",
                       "whisper:'psst' | 'ok'"},
                TagRow{"map_spoken_and_shown", "see \\Map=\"doctor\"=\"Dr.\"\\ now", "see Dr. now",
                       "'see ' | 'doctor'=>'Dr.' | ' now'"},
                TagRow{"reset", "\\Vol=5\\a\\Rst\\b", "ab", "vol5:'a' | 'b'"},
                TagRow{"other_known_tags_removed", "a\\Ctx=\"Email\"\\b\\Lst\\c", "abc", "'abc'"},
                TagRow{"unknown_name_kept_as_text", "C:\\Users\\x", "C:\\Users\\x",
                       "'C:\\Users\\x'"},
                TagRow{"double_backslash_literal", "a\\\\Vol=5\\\\b", "a\\Vol=5\\b",
                       "'a\\Vol=5\\b'"},
                TagRow{"unclosed_tag_kept", "tail \\Vol=5", "tail \\Vol=5", "'tail \\Vol=5'"},
                TagRow{"unclosed_quote_kept", "\\Map=\"a", "\\Map=\"a", "'\\Map=\"a'"},
                TagRow{"empty", "", "", ""}),
        [](const ::testing::TestParamInfo<TagRow> &info) { return std::string(info.param.name); });

TEST(SpeechScript, ShownOffsetFollowsMappedTextInProportion)
{
    const SpeechScript script =
            SpeechTags::parse(QStringLiteral("go \\Map=\"abcdefgh\"=\"ab\"\\ on"));
    ASSERT_EQ(script.pieces.size(), 3);
    EXPECT_EQ(script.shownOffset(0, 2), 2);
    EXPECT_EQ(script.shownOffset(1, 4), 3 + 1);
    EXPECT_EQ(script.shownOffset(1, 8), 3 + 2);
    EXPECT_EQ(script.shownOffset(2, 99), 3 + 2 + 3);
    EXPECT_EQ(script.shownOffset(7, 0), script.shownText().size());
}

TEST(SpeechScript, HasSpeechOnlyWithWordsOrPauses)
{
    EXPECT_FALSE(SpeechTags::parse(QStringLiteral("\\Vol=5\\   ")).hasSpeech());
    EXPECT_TRUE(SpeechTags::parse(QStringLiteral("\\Pau=10\\")).hasSpeech());
    EXPECT_TRUE(SpeechTags::parse(QStringLiteral("hi")).hasSpeech());
}

} // namespace
