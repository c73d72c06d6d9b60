#include "UpdateRequest.h"

#include <QUrl>

#include "AddressText.h"
#include "ServiceUrls.h"

using namespace Qt::StringLiterals;

UpdateRequest::UpdateRequest(const QString& gatewayUrl, const QString& userName, const QString& password,
                             const QStringList& hosts, const QString& address)
    : m_gatewayUrl(gatewayUrl), m_userName(userName), m_password(password), m_hosts(hosts), m_address(address)
{}

QString UpdateRequest::url(const QString& nowText) const
{
    return m_gatewayUrl + u"?login="_s + ServiceUrls::encodeQueryValue(m_userName) + u"&password="_s +
           ServiceUrls::encodeQueryValue(m_password) + u"&force=Y"_s + u"&host="_s + hostField() + addressPiece() +
           u"&unique="_s + ServiceUrls::encodeQueryValue(nowText);
}

QString UpdateRequest::logCopy() const
{
    return m_gatewayUrl + u"?login="_s + ServiceUrls::encodeQueryValue(m_userName) + u"&password="_s +
           QString(m_password.toUcs4().size(), u'*') + u"&host="_s + hostField() + addressPiece() + u"\r\n"_s;
}

QString UpdateRequest::hostField() const
{
    QStringList encoded;
    encoded.reserve(m_hosts.size());
    for (const QString& host : m_hosts) {
        encoded.append(ServiceUrls::encodeQueryValue(host));
    }
    return encoded.join(u';');
}

QString UpdateRequest::addressPiece() const
{
    if (AddressText::ExtractIP(m_address).isEmpty()) {
        return QString();
    }
    return u"&myip="_s + ServiceUrls::encodeQueryValue(m_address);
}

bool UpdateRequest::isGatewayUrl(const QString& gatewayUrl)
{
    const QUrl url(gatewayUrl, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() && (scheme == u"http" || scheme == u"https");
}
