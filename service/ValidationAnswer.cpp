#include "ValidationAnswer.h"

#include <QRegularExpression>
#include <QUrl>

using namespace Qt::StringLiterals;

ValidationAnswer::Verdict ValidationAnswer::classify(const QString& url, const QString& text)
{
    if (isValidationPage(url)) {
        return statusCode(text) == u"0="_s ? Verdict::Valid : Verdict::Invalid;
    }
    return text.contains(u"10=Hostname"_s) ? Verdict::Valid : Verdict::Undetermined;
}

bool ValidationAnswer::isValid(const QString& url, const QString& text)
{
    return classify(url, text) == Verdict::Valid;
}

bool ValidationAnswer::isRefusal(const QString& url, const QString& text)
{
    const QString code = statusCode(text);
    bool isNumber = false;
    const qulonglong value = code.chopped(code.isEmpty() ? 0 : 1).toULongLong(&isNumber);
    // Digits too many for a number still name a code other than 0.
    const bool nonZero = !code.isEmpty() && (!isNumber || value != 0);
    return nonZero && QUrl(url).path().endsWith(u"/account_validate.jsp"_s);
}

bool ValidationAnswer::isValidationPage(const QString& url)
{
    return url.contains(u"account_validate.jsp"_s);
}

QString ValidationAnswer::statusCode(const QString& text)
{
    // Spelled out rather than \d, which could be read as any Unicode digit.
    static const QRegularExpression code(u"[0-9]+="_s);
    return code.match(text).captured(0);
}
