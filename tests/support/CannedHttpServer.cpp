#include "CannedHttpServer.h"

#include <QHostAddress>
#include <QTcpSocket>

#include <memory>
#include <utility>

CannedHttpServer::CannedHttpServer(QByteArray response, QObject* parent)
    : QObject(parent), m_response(std::move(response))
{
    connect(&m_server, &QTcpServer::newConnection, this, &CannedHttpServer::answer);
}

bool CannedHttpServer::listen()
{
    return m_server.listen(QHostAddress::LocalHost, 0);
}

QString CannedHttpServer::url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:") + QString::number(m_server.serverPort()) + path;
}

QByteArray CannedHttpServer::plain(const QByteArray& body, const QByteArray& extraHeaders)
{
    return "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\nContent-Length: " +
           QByteArray::number(body.size()) + "\r\n" + extraHeaders + "\r\n" + body;
}

void CannedHttpServer::answer()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        auto request = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request] {
            *request += socket->readAll();
            if (!request->contains("\r\n\r\n") || socket->property("answered").toBool()) {
                return;
            }
            socket->setProperty("answered", true);
            m_lastRequest = *request;
            socket->write(m_response);
            socket->disconnectFromHost();
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}
