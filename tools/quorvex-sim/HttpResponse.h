#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>

// An answer the simulator sends: status, a few headers and the whole body. Every answer
// carries Content-Length and "Connection: close"; the connection closes after it.
class HttpResponse
{
public:
    HttpResponse() = default;
    HttpResponse(int status, QByteArray contentType, QByteArray body);

    static HttpResponse text(int status, const QByteArray& body);
    static HttpResponse html(const QByteArray& body);
    static HttpResponse redirect(const QByteArray& location);

    int status() const { return m_status; }
    QByteArray contentType() const { return m_contentType; }
    QByteArray body() const { return m_body; }
    void addHeader(const QByteArray& name, const QByteArray& value);

    // Status line and headers up to and including the blank line.
    QByteArray head() const;
    QByteArray serialize() const { return head() + m_body; }

    static QByteArray reasonPhrase(int status);

private:
    int m_status = 200;
    QByteArray m_contentType;
    QByteArray m_body;
    QList<QPair<QByteArray, QByteArray>> m_extraHeaders;
};
