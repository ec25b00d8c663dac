#include "launch/WebTextFetcher.h"

#include "TestHttpServer.h"
#include "character/CharacterActions.h"
#include "character/WebTextSpeaker.h"
#include "launch/LocationFile.h"
#include "support/TempHome.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPoint>
#include <QSignalSpy>
#include <QTcpServer>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

const QStringList OfflineGreetings = {"Offline hello one", "Offline hello two"};

class WebTextFetcherTest : public ::testing::Test
{
protected:
    WebTextFetcherTest()
    {
        QFile file(m_home.filePath("share/offline-greeting.txt"));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(OfflineGreetings.join("\r\n").toUtf8() + "\r\n\r\n");
        file.close();
        m_fetcher.setSiteRoot(QUrl(m_server.root()));
        m_fetcher.setTimeout(500ms);
    }

    struct Result
    {
        QString text;
        bool fromSite = false;
    };

    Result fetch(const QString &path)
    {
        QSignalSpy spy(&m_fetcher, &WebTextFetcher::textReady);
        m_fetcher.fetch(path);
        EXPECT_TRUE(spy.wait(5000)) << qPrintable(path);
        if (spy.isEmpty())
            return {};
        EXPECT_EQ(spy.count(), 1);
        EXPECT_EQ(spy.at(0).at(0).toString(), path);
        return {spy.at(0).at(1).toString(), spy.at(0).at(2).toBool()};
    }

    TempHome m_home;
    TestHttpServer m_server;
    WebTextFetcher m_fetcher;
};

TEST_F(WebTextFetcherTest, speaksTheSiteTextTrimmed)
{
    m_server.respond("/greeting/text.txt", 200, "Hello from the site!\r\n");
    const Result result = fetch("/greeting/text.txt");
    EXPECT_EQ(result.text, "Hello from the site!");
    EXPECT_TRUE(result.fromSite);
    ASSERT_EQ(m_server.requests().size(), 1);
    EXPECT_TRUE(m_server.requests().at(0).contains("User-Agent: ::: Quillomi :::"));
}

TEST_F(WebTextFetcherTest, fetchesAfreshEveryTime)
{
    m_server.respond("/joke/text.txt", 200, "First joke");
    EXPECT_EQ(fetch("/joke/text.txt").text, "First joke");
    m_server.respond("/joke/text.txt", 200, "Second joke");
    EXPECT_EQ(fetch("/joke/text.txt").text, "Second joke");
    EXPECT_EQ(m_server.requests().size(), 2);
}

TEST_F(WebTextFetcherTest, errorPageGivesTheOfflineText)
{
    const Result result = fetch("/greeting/text.txt"); // the server answers 404 with HTML
    EXPECT_TRUE(OfflineGreetings.contains(result.text)) << qPrintable(result.text);
    EXPECT_FALSE(result.fromSite);
}

TEST_F(WebTextFetcherTest, emptyTextGivesTheOfflineText)
{
    m_server.respond("/greeting/text.txt", 200, " \r\n");
    EXPECT_TRUE(OfflineGreetings.contains(fetch("/greeting/text.txt").text));
}

TEST_F(WebTextFetcherTest, longDocumentIsCutAtTheLimit)
{
    m_server.respond("/joke/text.txt", 200, QByteArray(300000, 'a') + "END");
    const Result result = fetch("/joke/text.txt");
    EXPECT_EQ(result.text.size(), WebTextFetcher::MaxBytes);
    EXPECT_TRUE(result.fromSite);
}

TEST_F(WebTextFetcherTest, cutThroughACharacterDropsOnlyThatCharacter)
{
    // "é" is two bytes in UTF-8; the limit falls between them.
    m_server.respond("/joke/text.txt", 200,
                     QByteArray(WebTextFetcher::MaxBytes - 1, 'a') + "\xc3\xa9 and more");
    const Result result = fetch("/joke/text.txt");
    EXPECT_EQ(result.text, QString(WebTextFetcher::MaxBytes - 1, u'a'));
}

TEST_F(WebTextFetcherTest, silentServerTimesOutToTheOfflineText)
{
    m_server.silent("/greeting/text.txt");
    QElapsedTimer elapsed;
    elapsed.start();
    const Result result = fetch("/greeting/text.txt");
    EXPECT_TRUE(OfflineGreetings.contains(result.text));
    EXPECT_FALSE(result.fromSite);
    EXPECT_GE(elapsed.elapsed(), 400); // it did wait for the site first
}

TEST_F(WebTextFetcherTest, refusedConnectionGivesTheOfflineText)
{
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 port = closed.serverPort();
    closed.close();
    m_fetcher.setSiteRoot(QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port)));
    const Result result = fetch("/greeting/text.txt");
    EXPECT_TRUE(OfflineGreetings.contains(result.text));
}

TEST_F(WebTextFetcherTest, noSiteAndNoOfflineTextGivesEmptyTextLater)
{
    m_fetcher.setSiteRoot(QUrl());
    QSignalSpy spy(&m_fetcher, &WebTextFetcher::textReady);
    m_fetcher.fetch("/joke/text.txt");
    EXPECT_EQ(spy.count(), 0); // never from inside fetch()
    ASSERT_TRUE(spy.wait(2000));
    EXPECT_EQ(spy.at(0).at(1).toString(), QString());
    EXPECT_TRUE(m_server.requests().isEmpty());
}

TEST(WebTextSite, environmentWinsOverTheLocationFile)
{
    TempHome home;
    const QString location = LocationFile::path();
    QFile file(location);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("SEARCH,Google,https://www.google.com/search?q=\r\nsite,http://texts.example\r\n");
    file.close();

    qunsetenv(WebTextFetcher::SiteVariable);
    EXPECT_EQ(WebTextFetcher::configuredSiteRoot(location), QUrl("http://texts.example"));
    qputenv(WebTextFetcher::SiteVariable, "http://other.example");
    EXPECT_EQ(WebTextFetcher::configuredSiteRoot(location), QUrl("http://other.example"));
    qputenv(WebTextFetcher::SiteVariable, "");
    EXPECT_TRUE(WebTextFetcher::configuredSiteRoot(location).isEmpty());
    qunsetenv(WebTextFetcher::SiteVariable);
    EXPECT_TRUE(WebTextFetcher::configuredSiteRoot(home.filePath("none.loc")).isEmpty());
}

class SpokenLines final : public CharacterActions
{
public:
    void play(const QString &) override {}
    void speakText(const QString &text) override { spoken << text; }
    void think(const QString &) override {}
    void showCharacter() override {}
    void stopAll() override {}
    void moveTo(const QPoint &) override {}
    QStringList spoken;
};

TEST(WebTextSpeaker, speaksTheTextWhenItArrives)
{
    TempHome home;
    TestHttpServer server;
    server.respond("/joke/text.txt", 200, "A joke");
    SpokenLines character;
    WebTextSpeaker speaker(character);
    speaker.fetcher().setSiteRoot(QUrl(server.root()));
    QSignalSpy spy(&speaker.fetcher(), &WebTextFetcher::textReady);
    speaker.SpeakWebText(WebTextSpeaker::JokePath);
    EXPECT_TRUE(character.spoken.isEmpty());
    ASSERT_TRUE(spy.wait(5000));
    EXPECT_EQ(character.spoken, QStringList{"A joke"});
}

} // namespace
