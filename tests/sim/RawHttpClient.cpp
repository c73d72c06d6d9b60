#include "RawHttpClient.h"

#include <QEventLoop>
#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>

RawHttpClient::RawHttpClient(quint16 port) : m_port(port), m_socket(new QTcpSocket) {}

RawHttpClient::~RawHttpClient()
{
    m_socket->abort();
    delete m_socket;
}

bool RawHttpClient::get(const QByteArray& target, int timeoutMs)
{
    return exchange("GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(m_port) +
                        "\r\nUser-Agent: test\r\nAccept: */*\r\n\r\n",
                    timeoutMs);
}

bool RawHttpClient::exchange(const QByteArray& bytes, int timeoutMs)
{
    QEventLoop loop;
    bool ended = false;
    QObject::connect(m_socket, &QTcpSocket::connected, &loop, [this, &bytes] {
        m_clock.start();
        m_socket->write(bytes);
    });
    QObject::connect(m_socket, &QTcpSocket::readyRead, &loop, [this] {
        m_received += m_socket->readAll();
        m_arrivals.append(m_clock.elapsed());
    });
    QObject::connect(m_socket, &QTcpSocket::errorOccurred, &loop, [&](QAbstractSocket::SocketError error) {
        if (m_error == QAbstractSocket::UnknownSocketError) {
            m_error = error;
        }
        m_received += m_socket->readAll();
        if (m_socket->state() != QAbstractSocket::ConnectedState) {
            ended = true;
            loop.quit();
        }
    });
    QObject::connect(m_socket, &QTcpSocket::disconnected, &loop, [&] {
        m_received += m_socket->readAll();
        ended = true;
        loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    m_socket->connectToHost(QHostAddress::LocalHost, m_port);
    loop.exec();
    QObject::disconnect(m_socket, nullptr, &loop, nullptr);
    return ended;
}

QByteArray RawHttpClient::head() const
{
    const qsizetype end = m_received.indexOf("\r\n\r\n");
    return end < 0 ? QByteArray() : m_received.left(end + 4);
}

QByteArray RawHttpClient::body() const
{
    const qsizetype end = m_received.indexOf("\r\n\r\n");
    return end < 0 ? QByteArray() : m_received.mid(end + 4);
}

int RawHttpClient::status() const
{
    if (!m_received.startsWith("HTTP/1.1 ")) {
        return 0;
    }
    return m_received.mid(9, 3).toInt();
}

qsizetype RawHttpClient::contentLength() const
{
    for (const QByteArray& line : head().split('\n')) {
        if (line.toLower().startsWith("content-length:")) {
            return line.mid(15).trimmed().toLongLong();
        }
    }
    return -1;
}
