#include "ErrorPage.h"

namespace {

QString sentence(ErrorPage::Reason reason)
{
    switch (reason) {
    case ErrorPage::Reason::InvalidAddress:
        return QStringLiteral("The address is not valid.");
    case ErrorPage::Reason::UnsupportedAddress:
        return QStringLiteral("The address is not the address of a web page.");
    case ErrorPage::Reason::Refused:
        return QStringLiteral("The server refused the connection.");
    case ErrorPage::Reason::HostNotFound:
        return QStringLiteral("The server's name could not be found.");
    case ErrorPage::Reason::ConnectionLost:
        return QStringLiteral("The connection was closed before the page had arrived.");
    case ErrorPage::Reason::TimedOut:
        return QStringLiteral("The server took too long to answer.");
    case ErrorPage::Reason::TooLarge:
        return QStringLiteral("The page is too large to be shown.");
    case ErrorPage::Reason::TooManyRedirects:
        return QStringLiteral("The page redirects too many times.");
    case ErrorPage::Reason::InsecureRedirect:
        return QStringLiteral("The page redirects from a secure address to one that is not.");
    case ErrorPage::Reason::SecureConnection:
        return QStringLiteral("A secure connection to the server could not be made.");
    case ErrorPage::Reason::Proxy:
        return QStringLiteral("The proxy server could not be used.");
    case ErrorPage::Reason::HttpError:
        return QStringLiteral("The server answered with an error and sent no page.");
    case ErrorPage::Reason::EmptyPage:
        return QStringLiteral("The server answered with an empty page.");
    case ErrorPage::Reason::ProtocolError:
        return QStringLiteral("The server's answer could not be understood.");
    case ErrorPage::Reason::Other:
        break;
    }
    return QStringLiteral("The request could not be completed.");
}

} // namespace

QString ErrorPage::text(Reason reason)
{
    // No line break at the end: completions reach the exchanges trimmed, error pages too.
    return QStringLiteral("The page cannot be displayed\r\n") + sentence(reason);
}

ErrorPage::Reason ErrorPage::reasonFor(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
        return Reason::Refused;
    case QNetworkReply::HostNotFoundError:
        return Reason::HostNotFound;
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
        return Reason::ConnectionLost;
    case QNetworkReply::TimeoutError:
        return Reason::TimedOut;
    case QNetworkReply::SslHandshakeFailedError:
        return Reason::SecureConnection;
    case QNetworkReply::TooManyRedirectsError:
        return Reason::TooManyRedirects;
    case QNetworkReply::InsecureRedirectError:
        return Reason::InsecureRedirect;
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
    case QNetworkReply::ProxyAuthenticationRequiredError:
    case QNetworkReply::UnknownProxyError:
        return Reason::Proxy;
    case QNetworkReply::ProtocolUnknownError:
        return Reason::UnsupportedAddress;
    case QNetworkReply::ProtocolInvalidOperationError:
    case QNetworkReply::ProtocolFailure:
        return Reason::ProtocolError;
    default:
        break;
    }
    const int code = static_cast<int>(error);
    if ((code >= QNetworkReply::ContentAccessDenied && code <= QNetworkReply::UnknownContentError) ||
        (code >= QNetworkReply::InternalServerError && code <= QNetworkReply::UnknownServerError)) {
        return Reason::HttpError;
    }
    return Reason::Other;
}
