#include "launch/LocationFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(LocationFile, firstLineStartingWithTheKeyWins)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Test.loc");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("NEWS,World,http://news.example\r\n"
               "search,MSNBC,http://msnbc.example/?q=\r\n"
               "SEARCH,MSN,http://msn.example/?q=\r\n"
               "SEARCH,Google,https://www.google.com/search?q=\n");
    file.close();
    // The prefix match takes the MSNBC line and skips one character after the key.
    EXPECT_EQ(LocationFile::value(path, "SEARCH,msn"), "C,http://msnbc.example/?q=");
    EXPECT_EQ(LocationFile::value(path, "SEARCH,Google"), "https://www.google.com/search?q=");
    EXPECT_EQ(LocationFile::value(path, "SEARCH,YouTube"), QString());
    EXPECT_EQ(LocationFile::value(dir.filePath("missing.loc"), "NEWS"), QString());
}

} // namespace
