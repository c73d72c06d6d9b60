#pragma once

#include <QObject>
#include <QString>

class QTcpServer;
class ServiceSimulator;

// Listens on 127.0.0.1 and hands every connection to a SimulatorConnection.
class SimulatorServer : public QObject
{
    Q_OBJECT

public:
    explicit SimulatorServer(ServiceSimulator* service, QObject* parent = nullptr);

    // port 0 picks a free port. Also tells the service its port, for the gateway URL.
    bool listen(quint16 port, QString* error = nullptr);
    quint16 port() const;

private:
    void acceptConnections();

    ServiceSimulator* m_service;
    QTcpServer* m_server;
};
