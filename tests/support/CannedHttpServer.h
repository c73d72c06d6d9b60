#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTcpServer>

// A loopback HTTP server that answers every request with the same bytes, written as they are
// given (status line, headers and body), then closes the connection.
class CannedHttpServer : public QObject
{
    Q_OBJECT

public:
    explicit CannedHttpServer(QByteArray response, QObject* parent = nullptr);

    bool listen();
    // "http://127.0.0.1:<port>" followed by path.
    QString url(const QString& path) const;

    // The head of the last request received: request line and headers.
    const QByteArray& lastRequest() const { return m_lastRequest; }

    // A "200 OK" answer of the given type with a Content-Length.
    static QByteArray plain(const QByteArray& body, const QByteArray& extraHeaders = QByteArray());

private:
    void answer();

    QTcpServer m_server;
    QByteArray m_response;
    QByteArray m_lastRequest;
};
