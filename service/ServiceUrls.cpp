#include "ServiceUrls.h"

#include <QUrl>

ServiceUrls::ServiceUrls(const QString& host) : m_host(host) {}

QString ServiceUrls::root() const
{
    return QStringLiteral("http://") + m_host;
}

QString ServiceUrls::validation(const QString& user, const QString& password) const
{
    return root() + QStringLiteral("/ipupdate/account_validate.jsp?login=") + encodeQueryValue(user) +
           QStringLiteral("&password=") + encodeQueryValue(password);
}

QString ServiceUrls::domains(const QString& user, const QString& nowText) const
{
    return root() + QStringLiteral("/ipupdate/domains.jsp?login=") + encodeQueryValue(user) +
           QStringLiteral("&unique=") + encodeQueryValue(nowText);
}

QString ServiceUrls::hosts(const QString& user, const QString& domain, const QString& nowText) const
{
    return root() + QStringLiteral("/ipupdate/hosts.jsp?login=") + encodeQueryValue(user) + QStringLiteral("&domain=") +
           encodeQueryValue(domain) + QStringLiteral("&unique=") + encodeQueryValue(nowText);
}

QString ServiceUrls::versionPage() const
{
    return root() + QStringLiteral("/ipupdate/dyndata.txt");
}

QString ServiceUrls::versionPageOnDemand(const QString& nowText) const
{
    return versionPage() + QStringLiteral("?unique=") + encodeQueryValue(nowText);
}

QString ServiceUrls::homePage() const
{
    return root() + QStringLiteral("/");
}

QString ServiceUrls::signupPage() const
{
    return root() + QStringLiteral("/Direct.sv?cmd=signup");
}

QString ServiceUrls::downloadPage() const
{
    return root() + QStringLiteral("/Direct.sv?cmd=ipClients");
}

QString ServiceUrls::encodeQueryValue(const QString& value)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}
