#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One search engine of the web search window: its caption and its key in the location
// file's "SEARCH," lines.
struct SearchEngine
{
    QString caption;
    QString key;
};

// Builds the addresses of a web search from the location file's prefixes.
class WebSearch final
{
public:
    // The engines by box index.
    static const QList<SearchEngine> &engines();

    // The query as a query component: every character but the unreserved ones is
    // percent-encoded (UTF-8); a space is "%20" for MSN and "+" for the others.
    static QString encodeQuery(const QString &query, const QString &engineKey);
    // The prefix of `engineKey` in the location file followed by the encoded query.
    static QString address(const QString &locationFile, const QString &engineKey,
                           const QString &query);
    // One address per ticked engine index, in index order; none for a blank query.
    static QStringList addresses(const QString &locationFile, QList<int> ticked,
                                 const QString &query);
};
