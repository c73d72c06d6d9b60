#include "SimulatorConnection.h"

#include "HttpRequest.h"
#include "HttpResponse.h"
#include "ServiceSimulator.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#endif

// Time given to the half body of a "reset" to reach the peer before the connection is torn down.
static constexpr int ResetGraceMs = 30;

// A peer with an IPv4 address mapped into IPv6 is an IPv4 caller.
static bool isIpv6Peer(const QHostAddress& peer)
{
    bool isIpv4 = false;
    peer.toIPv4Address(&isIpv4);
    return peer.protocol() == QAbstractSocket::IPv6Protocol && !isIpv4;
}

SimulatorConnection::SimulatorConnection(QTcpSocket* socket, ServiceSimulator* service, QObject* parent)
    : QObject(parent), m_socket(socket), m_service(service)
{
    m_socket->setParent(this);
    connect(m_socket, &QTcpSocket::readyRead, this, &SimulatorConnection::readRequest);
    connect(m_socket, &QTcpSocket::disconnected, this, &SimulatorConnection::finish);
    connect(m_socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError) {
        // The peer went away (or reset us): nothing is left to send to.
        if (m_socket->state() != QAbstractSocket::ConnectedState) {
            finish();
        }
    });
}

QByteArray SimulatorConnection::garbageBytes()
{
    return QByteArray("\x16\x03\x01\x00\xff\xfe\x00\x01", 8) + "%%garbage-not-http%%\r\n\x01\x02\x03\r\n\r\n";
}

void SimulatorConnection::readRequest()
{
    if (m_answered) {
        m_socket->readAll();
        return;
    }
    m_buffer += m_socket->readAll();
    HttpRequest request;
    QString error;
    const HttpRequest::Status status = HttpRequest::parse(m_buffer, &request, &error);
    if (status == HttpRequest::Status::Incomplete) {
        return;
    }
    m_answered = true;
    m_buffer.clear();
    if (status == HttpRequest::Status::Invalid || !m_service) {
        const HttpResponse response = HttpResponse::text(400, error.toUtf8());
        answer(response.head(), response.body(), {});
        return;
    }
    // isLoopback() takes 127.0.0.0/8, ::1 and ::ffff:127.0.0.0/104 alike.
    const QHostAddress peer = m_socket->peerAddress();
    const ServiceSimulator::Answer result = m_service->handle(request, peer.isLoopback(), isIpv6Peer(peer));
    answer(result.response.head(), result.response.body(), result.fault);
}

void SimulatorConnection::answer(const QByteArray& head, const QByteArray& body, const FaultPlan::Fault& fault)
{
    switch (fault.kind) {
    case FaultPlan::Kind::Drop:
        m_socket->disconnectFromHost();
        return;
    case FaultPlan::Kind::Hang:
        return;
    case FaultPlan::Kind::Garbage:
        m_socket->write(garbageBytes());
        m_socket->disconnectFromHost();
        return;
    case FaultPlan::Kind::Slow:
        m_socket->write(head);
        m_pendingBody = body;
        m_timer = new QTimer(this);
        m_timer->setInterval(fault.delayMs);
        connect(m_timer, &QTimer::timeout, this, &SimulatorConnection::trickleNextByte);
        m_timer->start();
        return;
    case FaultPlan::Kind::Reset:
        m_socket->write(head);
        m_socket->write(body.left(body.size() / 2));
        sendHalfThenReset();
        return;
    case FaultPlan::Kind::None:
    case FaultPlan::Kind::Status500:
    case FaultPlan::Kind::Status500Empty:
    case FaultPlan::Kind::Status500Html:
    case FaultPlan::Kind::Status404Footer:
    case FaultPlan::Kind::Status429:
    case FaultPlan::Kind::Portal:
    case FaultPlan::Kind::Empty:
    case FaultPlan::Kind::Huge:
        break;
    }
    m_socket->write(head);
    m_socket->write(body);
    m_socket->disconnectFromHost();
}

void SimulatorConnection::trickleNextByte()
{
    if (m_trickled >= m_pendingBody.size()) {
        m_timer->stop();
        m_socket->disconnectFromHost();
        return;
    }
    m_socket->write(m_pendingBody.mid(m_trickled, 1));
    m_socket->flush();
    ++m_trickled;
}

void SimulatorConnection::sendHalfThenReset()
{
    // Only bytes that have left Qt's buffer reach the peer before the reset.
    if (m_socket->bytesToWrite() > 0) {
        if (!m_resetArmed) {
            m_resetArmed = true;
            connect(m_socket, &QTcpSocket::bytesWritten, this, [this] {
                if (m_socket->bytesToWrite() == 0) {
                    QTimer::singleShot(ResetGraceMs, this, &SimulatorConnection::resetConnection);
                }
            });
        }
        return;
    }
    QTimer::singleShot(ResetGraceMs, this, &SimulatorConnection::resetConnection);
}

void SimulatorConnection::resetConnection()
{
    if (m_socket->state() != QAbstractSocket::ConnectedState) {
        return;
    }
#ifdef Q_OS_UNIX
    // A zero linger time makes the close abortive: the peer gets a reset, not an orderly end.
    struct linger option = {1, 0};
    ::setsockopt(static_cast<int>(m_socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &option, sizeof option);
#endif
    m_socket->abort();
    finish();
}

void SimulatorConnection::finish()
{
    if (m_timer) {
        m_timer->stop();
    }
    deleteLater();
}
