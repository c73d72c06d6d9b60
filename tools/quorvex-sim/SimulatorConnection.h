#pragma once

#include "FaultPlan.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>

class QTcpSocket;
class QTimer;
class ServiceSimulator;

// One accepted connection: reads one request head, answers it (or spoils the answer as the
// fault plan says), then closes. Deletes itself when the connection is gone.
class SimulatorConnection : public QObject
{
    Q_OBJECT

public:
    SimulatorConnection(QTcpSocket* socket, ServiceSimulator* service, QObject* parent = nullptr);

    // Bytes sent for a "garbage" fault: no status line, nothing an HTTP client can read.
    static QByteArray garbageBytes();

private:
    void readRequest();
    void answer(const QByteArray& head, const QByteArray& body, const FaultPlan::Fault& fault);
    void trickleNextByte();
    void sendHalfThenReset();
    void resetConnection();
    void finish();

    QTcpSocket* m_socket;
    QPointer<ServiceSimulator> m_service;
    QByteArray m_buffer;
    bool m_answered = false;
    QByteArray m_pendingBody;
    qsizetype m_trickled = 0;
    QTimer* m_timer = nullptr;
    bool m_resetArmed = false;
};
