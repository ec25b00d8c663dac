#include "TestHttpServer.h"

#include <QTcpSocket>

TestHttpServer::TestHttpServer(QObject *parent)
    : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, &TestHttpServer::onConnection);
    m_server.listen(QHostAddress::LocalHost, 0);
}

void TestHttpServer::respond(const QByteArray &path, int status, const QByteArray &body)
{
    m_answers.insert(path, Answer{status, body});
}

QString TestHttpServer::root() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort());
}

void TestHttpServer::onConnection()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
    }
}

void TestHttpServer::onReadyRead(QTcpSocket *socket)
{
    QByteArray head = socket->property("head").toByteArray() + socket->readAll();
    socket->setProperty("head", head);
    if (!head.contains("\r\n\r\n"))
        return;
    m_requests << head;
    const QByteArray path = head.split(' ').value(1);
    if (m_silent.contains(path))
        return;
    const Answer answer = m_answers.value(path, Answer{404, "<html>Not Found</html>"});
    const QByteArray reason = answer.status == 200 ? "OK" : "Error";
    socket->write("HTTP/1.1 " + QByteArray::number(answer.status) + ' ' + reason +
                  "\r\nContent-Type: text/plain\r\nContent-Length: " +
                  QByteArray::number(answer.body.size()) + "\r\nConnection: close\r\n\r\n" +
                  answer.body);
    socket->disconnectFromHost();
}
