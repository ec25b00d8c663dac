#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QTcpServer>

class QTcpSocket;

// A real HTTP/1.1 server on 127.0.0.1 for the tests: each path gets a canned status and
// body; a path marked silent never answers. Every request's head is kept.
class TestHttpServer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TestHttpServer)

public:
    explicit TestHttpServer(QObject *parent = nullptr);

    void respond(const QByteArray &path, int status, const QByteArray &body);
    void silent(const QByteArray &path) { m_silent << path; }

    QString root() const;
    QList<QByteArray> requests() const { return m_requests; }

private:
    void onConnection();
    void onReadyRead(QTcpSocket *socket);

    struct Answer
    {
        int status;
        QByteArray body;
    };

    QTcpServer m_server;
    QHash<QByteArray, Answer> m_answers;
    QList<QByteArray> m_silent;
    QList<QByteArray> m_requests;
};
