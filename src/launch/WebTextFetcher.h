#pragma once

#include <QHash>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QUrl>
#include <chrono>

class QNetworkReply;

// Fetches the short texts the character speaks from the web site ("/greeting/text.txt",
// "/joke/text.txt"): asynchronous, never from a cache, at most MaxBytes, with a time limit.
// When the site is not configured, cannot be reached or has nothing, a line of the shipped
// offline text ("offline-greeting.txt" for "/greeting/...") is used instead.
class WebTextFetcher final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WebTextFetcher)

public:
    static constexpr qint64 MaxBytes = 65000;
    static constexpr std::chrono::milliseconds DefaultTimeout{10000};
    // Names the site root without rebuilding; wins over the location file's "SITE," line.
    static inline const char *const SiteVariable = "QUILLOMI_SITE";

    explicit WebTextFetcher(QObject *parent = nullptr);
    ~WebTextFetcher() override;

    // The site root as configured: $QUILLOMI_SITE when set (empty switches the site off),
    // else the "SITE," line of the given location file; empty when neither names one.
    static QUrl configuredSiteRoot(const QString &locationFile);

    void setSiteRoot(const QUrl &root) { m_siteRoot = root; }
    QUrl siteRoot() const { return m_siteRoot; }
    void setTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }
    // Folder of the offline texts (the program folder by default).
    void setOfflineFolder(const QString &folder) { m_offlineFolder = folder; }

    // The address of `path` on the site; empty when no site is configured.
    QUrl addressOf(const QString &path) const;
    // A random line of the offline text for `path`; empty when there is none.
    QString offlineText(const QString &path) const;

    // Starts fetching; textReady follows once, later, from the event loop.
    void fetch(const QString &path);

signals:
    void textReady(const QString &path, const QString &text, bool fromSite);

private:
    struct Pending
    {
        QString path;
        QByteArray body;
        bool cut = false;
    };

    void onReadyRead(QNetworkReply *reply);
    void onFinished(QNetworkReply *reply);
    void deliver(const QString &path, const QString &siteText);

    QNetworkAccessManager m_network;
    QHash<QNetworkReply *, Pending> m_pending;
    QUrl m_siteRoot;
    std::chrono::milliseconds m_timeout = DefaultTimeout;
    QString m_offlineFolder;
};
