#include "launch/WebSearch.h"

#include "launch/LocationFile.h"

#include <QUrl>
#include <algorithm>

const QList<SearchEngine> &WebSearch::engines()
{
    static const QList<SearchEngine> list = {
            {QStringLiteral("eBay"), QStringLiteral("eBay")},
            {QStringLiteral("Google"), QStringLiteral("Google")},
            {QStringLiteral("Yahoo"), QStringLiteral("Yahoo")},
            {QStringLiteral("MSN"), QStringLiteral("MSN")},
            {QStringLiteral("News"), QStringLiteral("CNN News")},
            {QStringLiteral("Map - Google"), QStringLiteral("MAP")},
            {QStringLiteral("Wikipedia"), QStringLiteral("Wikipedia")},
            {QStringLiteral("YouTube"), QStringLiteral("YouTube")},
    };
    return list;
}

QString WebSearch::encodeQuery(const QString &query, const QString &engineKey)
{
    QString encoded = QString::fromLatin1(QUrl::toPercentEncoding(query));
    if (engineKey.compare(QLatin1String("msn"), Qt::CaseInsensitive) != 0)
        encoded.replace(QLatin1String("%20"), QLatin1String("+"));
    return encoded;
}

QString WebSearch::address(const QString &locationFile, const QString &engineKey,
                           const QString &query)
{
    return LocationFile::value(locationFile, QStringLiteral("SEARCH,") + engineKey) +
           encodeQuery(query, engineKey);
}

QStringList WebSearch::addresses(const QString &locationFile, QList<int> ticked,
                                 const QString &query)
{
    QStringList list;
    if (query.trimmed().isEmpty())
        return list;
    std::sort(ticked.begin(), ticked.end());
    ticked.erase(std::unique(ticked.begin(), ticked.end()), ticked.end());
    for (int index : ticked) {
        if (index >= 0 && index < engines().size())
            list << address(locationFile, engines().at(index).key, query);
    }
    return list;
}
