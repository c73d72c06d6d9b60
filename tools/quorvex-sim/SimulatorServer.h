#pragma once

#include <QObject>
#include <QString>

class QTcpServer;
class ServiceSimulator;

// Listens on 127.0.0.1 and on [::1] at the same port, and hands every connection to a
// SimulatorConnection.
class SimulatorServer : public QObject
{
    Q_OBJECT

public:
    explicit SimulatorServer(ServiceSimulator* service, QObject* parent = nullptr);

    // port 0 picks a port free on both addresses. A machine without an IPv6 loopback gets
    // 127.0.0.1 alone. Also tells the service its port, for the gateway URL.
    bool listen(quint16 port, QString* error = nullptr);
    quint16 port() const;
    bool listensOnIpv6() const;

private:
    void acceptConnections(QTcpServer* server);

    ServiceSimulator* m_service;
    QTcpServer* m_server4;
    QTcpServer* m_server6;
};
