#include "SimulatorServer.h"

#include "ServiceSimulator.h"
#include "SimulatorConnection.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

// With a picked port, how often to pick again when [::1] holds it already for someone else.
static constexpr int PortAttempts = 5;

SimulatorServer::SimulatorServer(ServiceSimulator* service, QObject* parent)
    : QObject(parent), m_service(service), m_server4(new QTcpServer(this)), m_server6(new QTcpServer(this))
{
    connect(m_server4, &QTcpServer::newConnection, this, [this] { acceptConnections(m_server4); });
    connect(m_server6, &QTcpServer::newConnection, this, [this] { acceptConnections(m_server6); });
}

bool SimulatorServer::listen(quint16 port, QString* error)
{
    auto fail = [error](const QString& address, quint16 triedPort, const QTcpServer* server) {
        if (error) {
            *error = u"cannot listen on " + address + u':' + QString::number(triedPort) + u": " + server->errorString();
        }
        return false;
    };
    for (int attempt = 1;; ++attempt) {
        if (!m_server4->listen(QHostAddress::LocalHost, port)) {
            return fail(QStringLiteral("127.0.0.1"), port, m_server4);
        }
        const quint16 bound = m_server4->serverPort();
        if (m_server6->listen(QHostAddress::LocalHostIPv6, bound)) {
            break;
        }
        const QAbstractSocket::SocketError reason = m_server6->serverError();
        if (reason == QAbstractSocket::SocketAddressNotAvailableError ||
            reason == QAbstractSocket::UnsupportedSocketOperationError) {
            // No ::1 on this machine (IPv6 off, or off on the loopback interface).
            break;
        }
        m_server4->close();
        if (port != 0 || reason != QAbstractSocket::AddressInUseError || attempt == PortAttempts) {
            return fail(QStringLiteral("[::1]"), bound, m_server6);
        }
    }
    m_service->setPort(m_server4->serverPort());
    return true;
}

quint16 SimulatorServer::port() const
{
    return m_server4->serverPort();
}

bool SimulatorServer::listensOnIpv6() const
{
    return m_server6->isListening();
}

void SimulatorServer::acceptConnections(QTcpServer* server)
{
    while (QTcpSocket* socket = server->nextPendingConnection()) {
        new SimulatorConnection(socket, m_service, this);
    }
}
