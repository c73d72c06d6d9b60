#include "SimulatorServer.h"

#include "ServiceSimulator.h"
#include "SimulatorConnection.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

SimulatorServer::SimulatorServer(ServiceSimulator* service, QObject* parent)
    : QObject(parent), m_service(service), m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::newConnection, this, &SimulatorServer::acceptConnections);
}

bool SimulatorServer::listen(quint16 port, QString* error)
{
    if (!m_server->listen(QHostAddress::LocalHost, port)) {
        if (error) {
            *error = u"cannot listen on 127.0.0.1:" + QString::number(port) + u": " + m_server->errorString();
        }
        return false;
    }
    m_service->setPort(m_server->serverPort());
    return true;
}

quint16 SimulatorServer::port() const
{
    return m_server->serverPort();
}

void SimulatorServer::acceptConnections()
{
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
        new SimulatorConnection(socket, m_service, this);
    }
}
