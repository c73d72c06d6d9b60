#include "HttpRequest.h"

#include "PercentText.h"

static bool isTokenChar(char c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
        return true;
    }
    return QByteArrayView("!#$%&'*+-.^_`|~").contains(c);
}

static bool isToken(QByteArrayView text)
{
    if (text.isEmpty()) {
        return false;
    }
    for (const char c : text) {
        if (!isTokenChar(c)) {
            return false;
        }
    }
    return true;
}

static QByteArray chompCr(QByteArray line)
{
    if (line.endsWith('\r')) {
        line.chop(1);
    }
    return line;
}

HttpRequest::Status HttpRequest::parse(const QByteArray& buffer, HttpRequest* request, QString* error)
{
    auto fail = [error](const QString& reason) {
        if (error) {
            *error = reason;
        }
        return Status::Invalid;
    };

    // Bare LF line ends are tolerated, as most servers do.
    qsizetype headEnd = -1;
    qsizetype bodyStart = -1;
    for (qsizetype i = buffer.indexOf('\n'); i >= 0; i = buffer.indexOf('\n', i + 1)) {
        if (i + 1 < buffer.size() && buffer[i + 1] == '\n') {
            headEnd = i;
            bodyStart = i + 2;
            break;
        }
        if (i + 2 < buffer.size() && buffer[i + 1] == '\r' && buffer[i + 2] == '\n') {
            headEnd = i;
            bodyStart = i + 3;
            break;
        }
    }
    // Bytes that cannot start a method are refused before any line end arrives.
    for (const char c : buffer) {
        if (c == ' ') {
            break;
        }
        if (!isTokenChar(c)) {
            return fail(QStringLiteral("malformed request line"));
        }
    }
    if (headEnd < 0) {
        if (buffer.size() > MaxHeadSize) {
            return fail(QStringLiteral("request head too large"));
        }
        // Garbage that cannot become a request line is refused early.
        const qsizetype firstLineEnd = buffer.indexOf('\n');
        if (firstLineEnd >= 0 && !chompCr(buffer.left(firstLineEnd)).contains(" HTTP/")) {
            return fail(QStringLiteral("malformed request line"));
        }
        return Status::Incomplete;
    }
    if (bodyStart - 1 > MaxHeadSize) {
        return fail(QStringLiteral("request head too large"));
    }

    const QList<QByteArray> lines = buffer.left(headEnd).split('\n');
    const QByteArray requestLine = chompCr(lines.first());
    const QList<QByteArray> parts = requestLine.split(' ');
    if (parts.size() != 3 || !isToken(parts[0]) || parts[1].isEmpty() || !parts[2].startsWith("HTTP/1.")) {
        return fail(QStringLiteral("malformed request line"));
    }
    for (const char c : parts[1]) {
        if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7f) {
            return fail(QStringLiteral("control character in request target"));
        }
    }

    HttpRequest parsed;
    parsed.m_method = parts[0];
    parsed.m_version = parts[2];
    if (!parts[1].startsWith('/')) {
        // Absolute form, as sent to a proxy: keep the raw target, route on its path.
        const qsizetype schemeEnd = parts[1].indexOf("://");
        if (schemeEnd <= 0) {
            return fail(QStringLiteral("request target is not a path"));
        }
        const qsizetype pathStart = parts[1].indexOf('/', schemeEnd + 3);
        parsed.setTarget(pathStart < 0 ? QByteArray("/") : parts[1].mid(pathStart));
    } else {
        parsed.setTarget(parts[1]);
    }
    parsed.m_rawTarget = parts[1];

    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = chompCr(lines[i]);
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0 || !isToken(line.left(colon))) {
            return fail(QStringLiteral("malformed header line"));
        }
        parsed.m_headers.append({line.left(colon), line.mid(colon + 1).trimmed()});
    }

    *request = parsed;
    return Status::Complete;
}

HttpRequest HttpRequest::get(const QByteArray& target)
{
    HttpRequest request;
    request.m_method = "GET";
    request.m_version = "HTTP/1.1";
    request.setTarget(target);
    request.m_rawTarget = target;
    return request;
}

void HttpRequest::setTarget(const QByteArray& target)
{
    const qsizetype question = target.indexOf('?');
    m_path = PercentText::decode(question < 0 ? target : target.left(question));
    m_rawQuery = question < 0 ? QByteArray() : target.mid(question + 1);
}

std::optional<QByteArray> HttpRequest::header(const QByteArray& name) const
{
    for (const auto& [key, value] : m_headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0) {
            return value;
        }
    }
    return std::nullopt;
}

std::optional<QByteArray> HttpRequest::rawQueryValue(const QString& key) const
{
    if (m_rawQuery.isEmpty()) {
        return std::nullopt;
    }
    for (const QByteArray& piece : m_rawQuery.split('&')) {
        const qsizetype equals = piece.indexOf('=');
        const QByteArray rawKey = equals < 0 ? piece : piece.left(equals);
        if (PercentText::decode(rawKey) == key) {
            return equals < 0 ? QByteArray() : piece.mid(equals + 1);
        }
    }
    return std::nullopt;
}

std::optional<QString> HttpRequest::queryValue(const QString& key) const
{
    const std::optional<QByteArray> raw = rawQueryValue(key);
    if (!raw) {
        return std::nullopt;
    }
    return PercentText::decode(*raw);
}

QStringList HttpRequest::queryList(const QString& key) const
{
    const std::optional<QByteArray> raw = rawQueryValue(key);
    QStringList names;
    if (!raw) {
        return names;
    }
    for (const QByteArray& piece : raw->split(';')) {
        names.append(PercentText::decode(piece));
    }
    return names;
}
