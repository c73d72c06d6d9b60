#pragma once

#include <QString>
#include <QStringList>

// One request to the update gateway: the account, every host and the address. Every value is
// percent-encoded, so the gateway receives exactly what was typed; the ";" between the hosts
// stays literal, as the gateway splits the host field at it.
class UpdateRequest
{
public:
    UpdateRequest(const QString& gatewayUrl, const QString& userName, const QString& password, const QStringList& hosts,
                  const QString& address);

    // Whether a gateway address can be asked at all: an http (or https) URL naming a host. The
    // wizard's placeholder "0" or a damaged update file would otherwise send the account's
    // password to this machine or to wherever the text happens to lead.
    static bool isGatewayUrl(const QString& gatewayUrl);

    // The URL as sent: force is always asked for, since whether to send at all was decided
    // before; the address goes along only when it holds a dotted quad, else the gateway takes
    // the caller's own; nowText keeps any cache from answering.
    QString url(const QString& nowText) const;

    // The copy for the log, CR LF included: the password as one "*" per character, and neither
    // the force flag nor the cache-buster, which say nothing to the reader.
    QString logCopy() const;

private:
    QString hostField() const;
    QString addressPiece() const;

    QString m_gatewayUrl;
    QString m_userName;
    QString m_password;
    QStringList m_hosts;
    QString m_address;
};
