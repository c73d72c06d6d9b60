#pragma once

#include <QAbstractSocket>
#include <QByteArray>
#include <QElapsedTimer>
#include <QList>

class QTcpSocket;

// A bare TCP client for watching exactly what the simulator puts on the wire, faults included.
// It runs a local event loop, so it works against a server living in the same thread.
class RawHttpClient
{
public:
    explicit RawHttpClient(quint16 port);
    ~RawHttpClient();
    RawHttpClient(const RawHttpClient&) = delete;
    RawHttpClient& operator=(const RawHttpClient&) = delete;

    // Sends raw bytes and collects the answer until the server ends the connection or
    // timeoutMs pass. True when the connection ended within the time.
    bool exchange(const QByteArray& bytes, int timeoutMs = 5000);
    // GET target with the headers a browser-like client sends.
    bool get(const QByteArray& target, int timeoutMs = 5000);

    QByteArray received() const { return m_received; }
    QByteArray head() const;
    QByteArray body() const;
    int status() const;
    qsizetype contentLength() const; // -1 without the header
    // Whether reading stopped on an error other than an orderly end.
    QAbstractSocket::SocketError error() const { return m_error; }
    // Milliseconds after sending at which each chunk arrived.
    QList<qint64> arrivals() const { return m_arrivals; }

private:
    quint16 m_port;
    QTcpSocket* m_socket;
    QByteArray m_received;
    QAbstractSocket::SocketError m_error = QAbstractSocket::UnknownSocketError;
    QList<qint64> m_arrivals;
    QElapsedTimer m_clock;
};
