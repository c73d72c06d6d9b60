#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>

// One HTTP/1.x request head: request line and headers. The simulator needs no request body.
class HttpRequest
{
public:
    enum class Status { Incomplete, Complete, Invalid };

    // Heads larger than this are refused rather than buffered without end.
    static constexpr qsizetype MaxHeadSize = qsizetype{64} * 1024;

    // Parses the head at the start of buffer. Incomplete while the blank line that ends the
    // head has not arrived; Invalid (with a reason in *error) for anything that is not HTTP.
    static Status parse(const QByteArray& buffer, HttpRequest* request, QString* error = nullptr);

    // Builds a GET for a raw target, for callers that have no bytes to parse.
    static HttpRequest get(const QByteArray& target);

    QByteArray method() const { return m_method; }
    // The target exactly as sent, e.g. "/ipupdate/domains.jsp?login=demo&unique=x".
    QByteArray rawTarget() const { return m_rawTarget; }
    // The percent-decoded path without the query.
    QString path() const { return m_path; }
    QByteArray rawQuery() const { return m_rawQuery; }
    QByteArray version() const { return m_version; }
    std::optional<QByteArray> header(const QByteArray& name) const;

    // The query split at "&", each piece at its first "="; the value of the first piece with
    // this key, raw or percent-decoded. A "+" stays a "+".
    std::optional<QByteArray> rawQueryValue(const QString& key) const;
    std::optional<QString> queryValue(const QString& key) const;
    // A list value such as "host=a;b": split at literal ";" first, then each name decoded.
    QStringList queryList(const QString& key) const;

private:
    void setTarget(const QByteArray& target);

    QByteArray m_method;
    QByteArray m_rawTarget;
    QString m_path;
    QByteArray m_rawQuery;
    QByteArray m_version;
    QList<QPair<QByteArray, QByteArray>> m_headers;
};
