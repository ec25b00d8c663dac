#include "launch/LocationFile.h"

#include "launch/Launcher.h"
#include "launch/WebSearch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QUrl>
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

// Every location file shipped beside the program.
QStringList shippedLocationFiles()
{
    return QDir(SHIPPED_DATA).entryList({"*.loc"}, QDir::Files, QDir::Name);
}

class ShippedLocationFile : public ::testing::TestWithParam<QString>
{
};

TEST_P(ShippedLocationFile, hasEveryEngineElevenNewsSourcesAndDrawnLinks)
{
    const QString path = QDir(SHIPPED_DATA).filePath(GetParam());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_FALSE(text.contains(QChar::ReplacementCharacter));
    const QStringList lines = text.split("\r\n", Qt::SkipEmptyParts);
    EXPECT_EQ(lines.join("").count('\n'), 0) << "lines end in CR LF";

    for (const SearchEngine &engine : WebSearch::engines()) {
        const QUrl prefix(LocationFile::value(path, "SEARCH," + engine.key));
        EXPECT_EQ(prefix.scheme(), "https") << engine.key.toStdString();
        EXPECT_FALSE(prefix.host().isEmpty()) << engine.key.toStdString();
    }
    int news = 0;
    int links = 0;
    QSet<QString> newsNames;
    for (const QString &line : lines) {
        const QStringList parts = line.split(',');
        if (parts.first() == "NEWS") {
            ++news;
            newsNames << parts.value(1);
            EXPECT_EQ(QUrl(line.section(',', 2)).scheme(), "https") << line.toStdString();
        } else if (parts.first() == "LINK") {
            ++links;
            ASSERT_EQ(parts.size(), 4) << line.toStdString();
            EXPECT_EQ(QUrl(parts[2]).scheme(), "https") << line.toStdString();
            EXPECT_TRUE(
                    QFileInfo::exists(QDir(SHIPPED_DATA).filePath(parts[3].trimmed().toLower())))
                    << line.toStdString();
        } else {
            EXPECT_TRUE(parts.first() == "SEARCH" || parts.first() == "SITE") << line.toStdString();
        }
    }
    EXPECT_EQ(news, 11);
    EXPECT_EQ(newsNames.size(), 11);
    EXPECT_GE(links, 3);
    // The web texts' site line is there for the user to fill in.
    EXPECT_TRUE(text.startsWith("SITE,"));
}

INSTANTIATE_TEST_SUITE_P(Data, ShippedLocationFile, ::testing::ValuesIn(shippedLocationFiles()),
                         [](const auto &info) {
                             return QString(info.param).remove(' ').remove(".loc").toStdString();
                         });

TEST(ShippedLocationFiles, includeTheDefaultAndFiveMore)
{
    EXPECT_TRUE(shippedLocationFiles().contains(LocationFile::DefaultName));
    EXPECT_GE(shippedLocationFiles().size(), 6);
}

TEST(ShippedManual, isTheHelpWhileNoSiteIsSet)
{
    const QString address = Launcher::helpAddress(QUrl(), "/help/index.html", SHIPPED_DATA);
    QFile manual(QUrl(address).toLocalFile());
    ASSERT_TRUE(manual.open(QIODevice::ReadOnly)) << address.toStdString();
    const QByteArray html = manual.readAll();
    EXPECT_TRUE(html.startsWith("<!DOCTYPE html>"));
    EXPECT_TRUE(html.contains("id=\"contact\""));
}

} // namespace
