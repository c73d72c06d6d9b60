#include "HttpResponse.h"

HttpResponse::HttpResponse(int status, QByteArray contentType, QByteArray body)
    : m_status(status), m_contentType(std::move(contentType)), m_body(std::move(body))
{}

HttpResponse HttpResponse::text(int status, const QByteArray& body)
{
    return HttpResponse(status, "text/plain; charset=utf-8", body);
}

HttpResponse HttpResponse::html(const QByteArray& body)
{
    return HttpResponse(200, "text/html; charset=utf-8", body);
}

HttpResponse HttpResponse::redirect(const QByteArray& location)
{
    HttpResponse response(302, "text/plain; charset=utf-8", "Found: " + location);
    response.addHeader("Location", location);
    return response;
}

void HttpResponse::addHeader(const QByteArray& name, const QByteArray& value)
{
    m_extraHeaders.append({name, value});
}

QByteArray HttpResponse::head() const
{
    QByteArray head = "HTTP/1.1 " + QByteArray::number(m_status) + ' ' + reasonPhrase(m_status) + "\r\n";
    if (!m_contentType.isEmpty()) {
        head += "Content-Type: " + m_contentType + "\r\n";
    }
    head += "Content-Length: " + QByteArray::number(m_body.size()) + "\r\n";
    for (const auto& [name, value] : m_extraHeaders) {
        head += name + ": " + value + "\r\n";
    }
    head += "Connection: close\r\n\r\n";
    return head;
}

QByteArray HttpResponse::reasonPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 302:
        return "Found";
    case 400:
        return "Bad Request";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 429:
        return "Too Many Requests";
    case 500:
        return "Internal Server Error";
    default:
        return "Unknown";
    }
}
