#include "launch/WebSearch.h"

#include "launch/TwoEngineLocation.h"

#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

struct QueryCase
{
    const char *engine;
    const char *query;
    const char *encoded;
};

class WebSearchQuery : public ::testing::TestWithParam<QueryCase>
{
};

TEST_P(WebSearchQuery, isAQueryComponentThatSearchesForWhatWasTyped)
{
    const QString query = QString::fromUtf8(GetParam().query);
    const QString encoded = WebSearch::encodeQuery(query, GetParam().engine);
    EXPECT_EQ(encoded, GetParam().encoded);
    // Whatever the engine, its server reads back exactly the query.
    QString decoded = encoded;
    decoded.replace('+', ' ');
    EXPECT_EQ(QUrl::fromPercentEncoding(decoded.toLatin1()), query);
}

INSTANTIATE_TEST_SUITE_P(
        Table, WebSearchQuery,
        ::testing::Values(QueryCase{"MSN", "red apples", "red%20apples"},
                          QueryCase{"msn", "a  b", "a%20%20b"},
                          QueryCase{"Google", "red apples", "red+apples"},
                          QueryCase{"eBay", "a&b", "a%26b"}, QueryCase{"Yahoo", "50%", "50%25"},
                          QueryCase{"CNN News", "c++ #1?", "c%2B%2B+%231%3F"},
                          QueryCase{"MAP", "Straße München", "Stra%C3%9Fe+M%C3%BCnchen"},
                          QueryCase{"Wikipedia", "x=1;y=2/3", "x%3D1%3By%3D2%2F3"},
                          QueryCase{"YouTube", "日本 -live", "%E6%97%A5%E6%9C%AC+-live"},
                          QueryCase{"MSN", "a+b", "a%2Bb"}));

TEST(WebSearch, opensOnePagePerTickedEngineInIndexOrder)
{
    QTemporaryDir dir;
    const QString loc = twoEngineLocationFile(dir);
    EXPECT_EQ(
            WebSearch::addresses(loc, {3, 1, 3}, "red apples"),
            (QStringList{"https://g.example/?q=red+apples", "https://m.example/?q=red%20apples"}));
    // An engine without a line gets the query alone; indexes outside the table are skipped.
    EXPECT_EQ(WebSearch::addresses(loc, {7, 8, -1}, "x"), QStringList{"x"});
    EXPECT_TRUE(WebSearch::addresses(loc, {1}, " \t ").isEmpty());
}

} // namespace
