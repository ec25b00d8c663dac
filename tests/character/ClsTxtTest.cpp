#include "character/ClsTxt.h"

#include "RecordingCharacter.h"
#include "character/PhraseBook.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ClsTxtTest : public ::testing::Test
{
protected:
    void write(const QString &name, const QByteArray &bytes)
    {
        QFile file(m_dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    ClsTxt speaker(const QString &name) { return ClsTxt(m_character, m_dir.path(), name); }

    QTemporaryDir m_dir;
    RecordingCharacter m_character;
};

TEST_F(ClsTxtTest, readPlaysTheAnimationThenSpeaks)
{
    write("click.txt", "Hello there,Wave\r\nWell, that tickles,Surprised,ignored\r\nNo animation");
    ClsTxt txt = speaker("click.txt");
    txt.Read();
    // Only the part before the first comma is spoken; the next piece is the animation.
    EXPECT_EQ(m_character.take(), (QStringList{"play:that tickles", "speak:Well"}));
    txt.Read();
    EXPECT_EQ(m_character.take(), QStringList{"speak:No animation"});
    txt.Read();
    EXPECT_EQ(m_character.take(), (QStringList{"play:Wave", "speak:Hello there"}));
}

TEST_F(ClsTxtTest, thinkShowsAThoughtWithoutVoice)
{
    write("thinking.txt", "first,Think\r\nHm,LookUp\r\n");
    ClsTxt txt = speaker("thinking.txt");
    txt.Think();
    EXPECT_EQ(m_character.take(), (QStringList{"play:LookUp", "think:Hm"}));
}

TEST_F(ClsTxtTest, feedAndHideSpeakTheWholeLine)
{
    write("feed.txt", "x\r\nYum, crunchy\r\n");
    write("hide.txt", "x\r\nBack soon, promise\r\n");
    ClsTxt feed = speaker("feed.txt");
    feed.Feed();
    EXPECT_EQ(m_character.take(),
              (QStringList{"show", "stopAll", "play:idle3_3", "speak:Yum, crunchy"}));
    ClsTxt hide = speaker("hide.txt");
    hide.Hide();
    EXPECT_EQ(m_character.take(), QStringList{"speak:Back soon, promise"});
}

TEST_F(ClsTxtTest, missingFileSilencesReadButNotFeed)
{
    ClsTxt txt = speaker("nothing.txt");
    txt.Read();
    txt.Think();
    EXPECT_TRUE(m_character.take().isEmpty());
    txt.Feed();
    EXPECT_EQ(m_character.take(), (QStringList{"show", "stopAll", "play:idle3_3", "speak:"}));
    txt.Hide();
    EXPECT_EQ(m_character.take(), QStringList{"speak:"});
    EXPECT_EQ(txt.counter(), 4);
}

TEST_F(ClsTxtTest, fileEditedWhileRunningIsReadAfresh)
{
    write("move.txt", "one,Wave\r\ntwo,Wave\r\nthree,Wave");
    ClsTxt txt = speaker("move.txt");
    txt.Read();
    ASSERT_TRUE(QFile::remove(m_dir.filePath("move.txt")));
    txt.Read();
    EXPECT_EQ(m_character.take(), (QStringList{"play:Wave", "speak:two"}));
    write("move.txt", "one,Wave\r\ntwo,Wave\r\nthree,Wave\r\nfour,Wave");
    txt.Read(); // the counter kept growing while the file was away
    EXPECT_EQ(m_character.take(), (QStringList{"play:Wave", "speak:four"}));
}

TEST_F(ClsTxtTest, windowsAnsiFileIsReadAsWindows1252)
{
    write("click.txt", "x\r\nCaf\xe9 time,Pleased\r\n");
    ClsTxt txt = speaker("click.txt");
    txt.Read();
    EXPECT_EQ(m_character.take(), (QStringList{"play:Pleased", QStringLiteral("speak:Café time")}));
}

TEST_F(ClsTxtTest, phraseBookKeepsOnePlacePerFile)
{
    write("click.txt", "c0,Wave\r\nc1,Wave\r\nc2,Wave");
    write("move.txt", "m0,Wave\r\nm1,Wave");
    PhraseBook book(m_character, m_dir.path());
    book.speaker(PhraseBook::Click).Read();
    book.speaker(PhraseBook::Move).Read();
    book.speaker(PhraseBook::Click).Read();
    EXPECT_EQ(&book.speaker(PhraseBook::Click), &book.speaker(PhraseBook::Click));
    EXPECT_EQ(m_character.take(), (QStringList{"play:Wave", "speak:c1", "play:Wave", "speak:m1",
                                               "play:Wave", "speak:c2"}));
}

} // namespace
