#include "launch/WebTextFetcher.h"

#include "base/AppPaths.h"
#include "base/TextDecoding.h"
#include "launch/LocationFile.h"

#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRandomGenerator>
#include <QTimer>

namespace {

const QByteArray AgentName = QByteArrayLiteral("::: Quillomi :::");

bool isHttp(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return scheme == u"http" || scheme == u"https";
}

} // namespace

WebTextFetcher::WebTextFetcher(QObject *parent)
    : QObject(parent)
    , m_offlineFolder(AppPaths::programFolder())
{
    // A direct connection, as the texts are tiny and public.
    m_network.setProxy(QNetworkProxy::NoProxy);
}

WebTextFetcher::~WebTextFetcher()
{
    // Replies still running die with the manager; nobody waits for their texts any more.
    const auto replies = m_pending.keys();
    m_pending.clear();
    for (QNetworkReply *reply : replies) {
        reply->disconnect(this);
        reply->abort();
    }
}

QUrl WebTextFetcher::configuredSiteRoot(const QString &locationFile)
{
    if (qEnvironmentVariableIsSet(SiteVariable))
        return QUrl(qEnvironmentVariable(SiteVariable).trimmed());
    return QUrl(LocationFile::value(locationFile, QStringLiteral("SITE")).trimmed());
}

QUrl WebTextFetcher::addressOf(const QString &path) const
{
    if (m_siteRoot.isEmpty() || !m_siteRoot.isValid())
        return {};
    QString root = m_siteRoot.toString();
    while (root.endsWith(u'/'))
        root.chop(1);
    return QUrl(root + (path.startsWith(u'/') ? path : u'/' + path));
}

QString WebTextFetcher::offlineText(const QString &path) const
{
    const QString topic = path.section(u'/', 0, 0, QString::SectionSkipEmpty);
    if (topic.isEmpty())
        return {};
    const auto text = TextDecoding::readFile(
            AppPaths::join(m_offlineFolder, QStringLiteral("offline-") + topic + u".txt"));
    if (!text)
        return {};
    QStringList lines;
    for (const QString &line : TextDecoding::splitLines(*text)) {
        if (!line.trimmed().isEmpty())
            lines << line.trimmed();
    }
    if (lines.isEmpty())
        return {};
    return lines.at(QRandomGenerator::global()->bounded(lines.size()));
}

void WebTextFetcher::fetch(const QString &path)
{
    const QUrl address = addressOf(path);
    if (address.isEmpty()) {
        // Keep the promise of an answer from the event loop, never from inside fetch().
        QTimer::singleShot(std::chrono::milliseconds::zero(), this,
                           [this, path] { deliver(path, {}); });
        return;
    }
    QNetworkRequest request(address);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setRawHeader("Cache-Control", "no-cache");
    request.setHeader(QNetworkRequest::UserAgentHeader, AgentName);
    QNetworkReply *reply = m_network.get(request);
    m_pending.insert(reply, Pending{path, {}, false});

    auto *deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, reply, &QNetworkReply::abort);
    deadline->start(m_timeout);
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] { onReadyRead(reply); });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { onFinished(reply); });
}

void WebTextFetcher::onReadyRead(QNetworkReply *reply)
{
    auto it = m_pending.find(reply);
    if (it == m_pending.end() || it->cut)
        return;
    it->body += reply->read(MaxBytes - it->body.size());
    if (it->body.size() >= MaxBytes) {
        // A longer document is cut here; no need to download the rest.
        it->cut = true;
        reply->abort();
    }
}

void WebTextFetcher::onFinished(QNetworkReply *reply)
{
    reply->deleteLater();
    auto it = m_pending.find(reply);
    if (it == m_pending.end())
        return;
    Pending pending = std::move(*it);
    m_pending.erase(it);

    if (!pending.cut && reply->error() == QNetworkReply::NoError)
        pending.body += reply->read(MaxBytes - pending.body.size());
    bool ok = pending.cut || reply->error() == QNetworkReply::NoError;
    if (isHttp(reply->url())) {
        // An error page is not a text to speak.
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        ok = ok && status >= 200 && status < 300;
    }
    deliver(pending.path, ok ? TextDecoding::decode(pending.body).trimmed() : QString());
}

void WebTextFetcher::deliver(const QString &path, const QString &siteText)
{
    if (!siteText.isEmpty()) {
        emit textReady(path, siteText, true);
        return;
    }
    emit textReady(path, offlineText(path), false);
}
