#include "SimulatorData.h"

#include "PercentText.h"

#include <QFile>
#include <QHostAddress>

SimulatorData::SimulatorData()
    : m_publicIp(QString::fromUtf16(DefaultPublicIp)), m_publicIp6(QString::fromUtf16(DefaultPublicIp6)),
      m_version(QString::fromUtf16(DefaultVersion))
{}

bool SimulatorData::loadFile(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) {
            *error = path + u": cannot read the data file: " + file.errorString();
        }
        return false;
    }
    return loadText(file.readAll(), path, error);
}

bool SimulatorData::loadText(const QByteArray& text, const QString& sourceName, QString* error)
{
    SimulatorData loaded;
    int lineNumber = 0;
    auto fail = [&](const QString& reason) {
        if (error) {
            *error = sourceName + u':' + QString::number(lineNumber) + u": " + reason;
        }
        return false;
    };

    QByteArray content = text;
    if (content.startsWith("\xEF\xBB\xBF")) {
        content.remove(0, 3);
    }
    const QList<QByteArray> lines = content.split('\n');
    for (const QByteArray& rawLine : lines) {
        ++lineNumber;
        const QByteArray line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith('#')) {
            continue;
        }
        const QList<QByteArray> rawFields = line.simplified().split(' ');
        const QString keyword = QString::fromUtf8(rawFields.first());
        QStringList fields;
        for (qsizetype i = 1; i < rawFields.size(); ++i) {
            bool ok = true;
            fields.append(PercentText::decode(rawFields[i], &ok));
            if (!ok) {
                return fail(u"field " + QString::number(i + 1) + u" holds a bad percent escape or invalid UTF-8");
            }
        }

        if (keyword == u"account") {
            if (fields.size() != 2) {
                return fail(QStringLiteral("expected: account <name> <password>"));
            }
            if (loaded.m_accountIndex.contains(fields[0])) {
                return fail(u"account \"" + fields[0] + u"\" is already defined");
            }
            loaded.m_accountIndex.insert(fields[0], loaded.m_accounts.size());
            loaded.m_accounts.append(Account{fields[0], fields[1], {}});
        } else if (keyword == u"domain") {
            if (fields.size() != 2) {
                return fail(QStringLiteral("expected: domain <account-name> <domain>"));
            }
            const auto account = loaded.m_accountIndex.constFind(fields[0]);
            if (account == loaded.m_accountIndex.constEnd()) {
                return fail(u"unknown account \"" + fields[0] + u"\" (define it before its domains)");
            }
            if (loaded.m_domainIndex.contains(fields[1])) {
                return fail(u"domain \"" + fields[1] + u"\" is already defined");
            }
            loaded.m_domainIndex.insert(fields[1], loaded.m_domains.size());
            loaded.m_domains.append(Domain{fields[1], fields[0], {}});
            loaded.m_accounts[*account].domains.append(fields[1]);
        } else if (keyword == u"host") {
            if (fields.size() != 2 && fields.size() != 3) {
                return fail(QStringLiteral("expected: host <domain> <full-host-name> [<address>]"));
            }
            const auto domain = loaded.m_domainIndex.constFind(fields[0]);
            if (domain == loaded.m_domainIndex.constEnd()) {
                return fail(u"unknown domain \"" + fields[0] + u"\" (define it before its hosts)");
            }
            if (loaded.m_hostIndex.contains(fields[1])) {
                return fail(u"host \"" + fields[1] + u"\" is already defined");
            }
            const QString address = fields.size() == 3 ? fields[2] : QString();
            if (!address.isEmpty() && !isIpv4Address(address)) {
                return fail(u"\"" + address + u"\" is not an IPv4 address");
            }
            loaded.m_hostIndex.insert(fields[1], loaded.m_hosts.size());
            loaded.m_hosts.append(Host{fields[1], fields[0], address, {}});
            loaded.m_domains[*domain].hosts.append(fields[1]);
        } else if (keyword == u"public-ip") {
            if (fields.size() != 1) {
                return fail(QStringLiteral("expected: public-ip <address>"));
            }
            if (!isIpv4Address(fields[0])) {
                return fail(u"\"" + fields[0] + u"\" is not an IPv4 address");
            }
            loaded.m_publicIp = fields[0];
        } else if (keyword == u"public-ip6") {
            if (fields.size() != 1) {
                return fail(QStringLiteral("expected: public-ip6 <address>"));
            }
            if (!isIpv6Address(fields[0])) {
                return fail(u"\"" + fields[0] + u"\" is not an IPv6 address");
            }
            loaded.m_publicIp6 = fields[0];
        } else if (keyword == u"version") {
            if (fields.size() != 1) {
                return fail(QStringLiteral("expected: version <v>"));
            }
            loaded.m_version = fields[0];
        } else if (keyword == u"line-ends") {
            if (fields.size() != 1 || (fields[0] != u"crlf" && fields[0] != u"none")) {
                return fail(QStringLiteral("expected: line-ends crlf|none"));
            }
            loaded.m_lineEnds = fields[0] == u"crlf";
        } else {
            return fail(u"unknown record \"" + keyword +
                        u"\" (expected account, domain, host, public-ip, public-ip6, version or line-ends)");
        }
    }

    *this = std::move(loaded);
    return true;
}

const SimulatorData::Account* SimulatorData::account(const QString& name) const
{
    const auto it = m_accountIndex.constFind(name);
    return it == m_accountIndex.constEnd() ? nullptr : &m_accounts[*it];
}

const SimulatorData::Domain* SimulatorData::domain(const QString& name) const
{
    const auto it = m_domainIndex.constFind(name);
    return it == m_domainIndex.constEnd() ? nullptr : &m_domains[*it];
}

const SimulatorData::Host* SimulatorData::host(const QString& name) const
{
    const auto it = m_hostIndex.constFind(name);
    return it == m_hostIndex.constEnd() ? nullptr : &m_hosts[*it];
}

bool SimulatorData::updateHost(const QString& name, const QString& address, const QDateTime& when)
{
    const auto it = m_hostIndex.constFind(name);
    if (it == m_hostIndex.constEnd()) {
        return false;
    }
    m_hosts[*it].address = address;
    m_hosts[*it].lastUpdate = when;
    return true;
}

bool SimulatorData::isIpv4Address(const QString& text)
{
    const QStringList parts = text.split(u'.');
    if (parts.size() != 4) {
        return false;
    }
    for (const QString& part : parts) {
        if (part.isEmpty() || part.size() > 3) {
            return false;
        }
        for (const QChar c : part) {
            if (c < u'0' || c > u'9') {
                return false;
            }
        }
        if (part.toInt() > 255) {
            return false;
        }
    }
    return true;
}

bool SimulatorData::isIpv6Address(const QString& text)
{
    // The IPv6 pages must show no dotted quad, so the mixed notation (::ffff:1.2.3.4) is refused.
    if (text.contains(u'.') || text.contains(u'%')) {
        return false;
    }
    QHostAddress address;
    return address.setAddress(text) && address.protocol() == QAbstractSocket::IPv6Protocol;
}
