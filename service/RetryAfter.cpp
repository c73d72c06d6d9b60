#include "RetryAfter.h"

#include <QString>

#include <algorithm>

std::optional<QDateTime> RetryAfter::until(const QByteArray& header, const QDateTime& now)
{
    const QByteArray value = header.trimmed();
    if (value.isEmpty()) {
        return std::nullopt;
    }
    QDateTime result;
    if (std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        // Ten digits already pass the cap; more would not fit a number.
        const qint64 seconds = value.size() > 10 ? longest.count() : value.toLongLong();
        result = now.addSecs(std::min<qint64>(seconds, longest.count()));
    } else {
        // The one date form HTTP servers send; the English names are what fromString() reads.
        result = QDateTime::fromString(QString::fromLatin1(value), QStringLiteral("ddd, dd MMM yyyy hh:mm:ss 'GMT'"));
        result.setTimeSpec(Qt::UTC);
        if (!result.isValid()) {
            return std::nullopt;
        }
        result = std::min(result, now.addSecs(longest.count()));
    }
    if (result <= now) {
        return std::nullopt;
    }
    return result;
}

bool RetryAfter::appliesTo(int status)
{
    return status == 429 || status == 503;
}
