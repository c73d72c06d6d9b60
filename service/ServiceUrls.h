#pragma once

#include <QString>

// Every URL of the service's web host. Each value put into a query is percent-encoded, so the
// service receives exactly what the user typed, whatever characters it holds.
class ServiceUrls
{
public:
    // host is "host[:port]", as the service host constant gives it.
    explicit ServiceUrls(const QString& host);

    QString validation(const QString& user, const QString& password) const;
    QString domains(const QString& user, const QString& nowText) const;
    QString hosts(const QString& user, const QString& domain, const QString& nowText) const;
    QString versionPage() const;
    QString versionPageOnDemand(const QString& nowText) const;
    QString homePage() const;
    QString signupPage() const;
    QString downloadPage() const;

    // The UTF-8 form with everything but letters, digits and "-._~" percent-encoded: "+" becomes
    // %2B and a space %20, so no server can read either back as the other.
    static QString encodeQueryValue(const QString& value);

private:
    QString root() const;

    QString m_host;
};
