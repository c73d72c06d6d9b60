#pragma once

#include <QNetworkReply>
#include <QString>

// The text that stands in for a page when a request gets no usable answer. It holds no address,
// no number with a dot and no "=", so that no answer grammar and no address search can take it
// for a real answer; it never quotes the network layer's own message, which names the URL.
class ErrorPage
{
public:
    enum class Reason {
        InvalidAddress,
        UnsupportedAddress,
        Refused,
        HostNotFound,
        ConnectionLost,
        TimedOut,
        TooLarge,
        TooManyRedirects,
        InsecureRedirect,
        SecureConnection,
        Proxy,
        HttpError,
        EmptyPage,
        ProtocolError,
        Other
    };

    static QString text(Reason reason);
    static Reason reasonFor(QNetworkReply::NetworkError error);
};
