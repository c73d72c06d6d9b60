#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// The service's state: accounts, their domains, the hosts of each domain with their current
// addresses, the public addresses the IP-echo pages report (IPv4, and IPv6 for callers connected
// over IPv6) and the published client version.
//
// Loaded from a text file, one record a line, fields separated by blanks and percent-decoded:
//   account <name> <password>
//   domain <account-name> <domain>
//   host <domain> <full-host-name> [<address>]
//   public-ip <address>
//   public-ip6 <address>
//   version <v>
//   line-ends crlf|none
// A line whose first non-blank character is "#" is a comment; blank lines are ignored.
// Every name must be defined before it is used.
class SimulatorData
{
public:
    struct Account
    {
        QString name;
        QString password;
        QStringList domains;
    };

    struct Domain
    {
        QString name;
        QString account;
        QStringList hosts;
    };

    struct Host
    {
        QString name;
        QString domain;
        QString address;      // empty until the host has an address
        QDateTime lastUpdate; // invalid until the gateway has updated it
    };

    static constexpr auto DefaultPublicIp = u"203.0.113.7";
    static constexpr auto DefaultPublicIp6 = u"2001:db8::7";
    static constexpr auto DefaultVersion = u"1.3";

    SimulatorData();

    // On failure *error reads "<file>:<line>: <reason>" and this object is left unchanged.
    bool loadFile(const QString& path, QString* error);
    bool loadText(const QByteArray& text, const QString& sourceName, QString* error);

    const Account* account(const QString& name) const;
    const Domain* domain(const QString& name) const;
    const Host* host(const QString& name) const;
    // Hosts in the order of the file.
    const QList<Host>& hosts() const { return m_hosts; }
    bool updateHost(const QString& name, const QString& address, const QDateTime& when);

    QString publicIp() const { return m_publicIp; }
    void setPublicIp(const QString& address) { m_publicIp = address; }
    QString publicIp6() const { return m_publicIp6; }
    void setPublicIp6(const QString& address) { m_publicIp6 = address; }
    QString version() const { return m_version; }
    void setVersion(const QString& version) { m_version = version; }
    // Whether the plain-text answers end with CR LF, as most web servers send text pages.
    bool lineEnds() const { return m_lineEnds; }
    void setLineEnds(bool on) { m_lineEnds = on; }

    // Four decimal numbers of 0 to 255 separated by dots, nothing else.
    static bool isIpv4Address(const QString& text);
    // An IPv6 address in hex groups only: no embedded dotted quad, no zone.
    static bool isIpv6Address(const QString& text);

private:
    QList<Account> m_accounts;
    QList<Domain> m_domains;
    QList<Host> m_hosts;
    QHash<QString, qsizetype> m_accountIndex;
    QHash<QString, qsizetype> m_domainIndex;
    QHash<QString, qsizetype> m_hostIndex;
    QString m_publicIp;
    QString m_publicIp6;
    QString m_version;
    bool m_lineEnds = false;
};
