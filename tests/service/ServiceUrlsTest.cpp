#include "ServiceUrls.h"
#include "HttpPageRequester.h"

#include <QUrlQuery>

#include <gtest/gtest.h>

namespace {

ServiceUrls loopback()
{
    return ServiceUrls(QStringLiteral("127.0.0.1:8780"));
}

QString queryValue(const QString& url, const QString& key)
{
    return QUrlQuery(QUrl(url)).queryItemValue(key, QUrl::FullyDecoded);
}

} // namespace

TEST(ServiceUrlsTest, EveryReservedCharacterIsEncoded)
{
    EXPECT_EQ(ServiceUrls::encodeQueryValue(QStringLiteral("a&b=c#d%e+f;g h")),
              QStringLiteral("a%26b%3Dc%23d%25e%2Bf%3Bg%20h"));
    EXPECT_EQ(ServiceUrls::encodeQueryValue(QStringLiteral("/?:@!$'()*,[]")),
              QStringLiteral("%2F%3F%3A%40%21%24%27%28%29%2A%2C%5B%5D"));
    EXPECT_EQ(ServiceUrls::encodeQueryValue(QStringLiteral("J\u00f6rg\u20ac")), QStringLiteral("J%C3%B6rg%E2%82%AC"));
    EXPECT_EQ(ServiceUrls::encodeQueryValue(QStringLiteral("AZaz09-._~")), QStringLiteral("AZaz09-._~"));
    EXPECT_EQ(ServiceUrls::encodeQueryValue(QString()), QString());
}

TEST(ServiceUrlsTest, ServiceRequests)
{
    EXPECT_EQ(loopback().validation(QStringLiteral("alice"), QStringLiteral("s3cret")),
              QStringLiteral("http://127.0.0.1:8780/ipupdate/account_validate.jsp?login=alice&password=s3cret"));
    EXPECT_EQ(
        loopback().domains(QStringLiteral("alice"), QStringLiteral("6 Dec 2026 19:22:10")),
        QStringLiteral("http://127.0.0.1:8780/ipupdate/domains.jsp?login=alice&unique=6%20Dec%202026%2019%3A22%3A10"));
    EXPECT_EQ(
        loopback().hosts(QStringLiteral("alice"), QStringLiteral("example.org"), QStringLiteral("12/6/26 7:22:10 PM")),
        QStringLiteral("http://127.0.0.1:8780/ipupdate/hosts.jsp?login=alice&domain=example.org"
                       "&unique=12%2F6%2F26%207%3A22%3A10%20PM"));
    EXPECT_EQ(loopback().versionPage(), QStringLiteral("http://127.0.0.1:8780/ipupdate/dyndata.txt"));
    EXPECT_EQ(loopback().versionPageOnDemand(QStringLiteral("6 Dec 2026 19:22:10")),
              QStringLiteral("http://127.0.0.1:8780/ipupdate/dyndata.txt?unique=6%20Dec%202026%2019%3A22%3A10"));
}

TEST(ServiceUrlsTest, BrowserPages)
{
    EXPECT_EQ(loopback().homePage(), QStringLiteral("http://127.0.0.1:8780/"));
    EXPECT_EQ(loopback().signupPage(), QStringLiteral("http://127.0.0.1:8780/Direct.sv?cmd=signup"));
    EXPECT_EQ(loopback().downloadPage(), QStringLiteral("http://127.0.0.1:8780/Direct.sv?cmd=ipClients"));
    EXPECT_EQ(ServiceUrls(QStringLiteral("dyn.example.net")).homePage(), QStringLiteral("http://dyn.example.net/"));
}

TEST(ServiceUrlsTest, TheServiceReadsBackExactlyWhatWasTyped)
{
    const QString user = QStringLiteral("al ice+bob");
    const QString password = QStringLiteral("p&ss=w#rd+%20;\u00e9 ");
    const QString domain = QStringLiteral("ex&ample.org#x");
    const QString now = QStringLiteral("12/6/26 7:22:10 PM");

    const QString validation = loopback().validation(user, password);
    EXPECT_EQ(validation, QStringLiteral("http://127.0.0.1:8780/ipupdate/account_validate.jsp?login=al%20ice%2Bbob"
                                         "&password=p%26ss%3Dw%23rd%2B%2520%3B%C3%A9%20"));
    EXPECT_EQ(queryValue(validation, QStringLiteral("login")), user);
    EXPECT_EQ(queryValue(validation, QStringLiteral("password")), password);

    const QString hosts = loopback().hosts(user, domain, now);
    EXPECT_EQ(queryValue(hosts, QStringLiteral("domain")), domain);
    EXPECT_EQ(queryValue(hosts, QStringLiteral("unique")), now);
    EXPECT_EQ(QUrlQuery(QUrl(hosts)).queryItems().size(), 3);

    // The requester sends the URL as built: no escape is undone or added on the way.
    for (const QString& url : {validation, hosts, loopback().domains(user, now), loopback().versionPageOnDemand(now)}) {
        EXPECT_EQ(HttpPageRequester::requestUrl(url).toString(QUrl::FullyEncoded), url);
    }
}

TEST(ServiceUrlsTest, RequestedAddressesGetAWebSchemeWhenTheyHaveNone)
{
    EXPECT_EQ(HttpPageRequester::requestUrl(QStringLiteral("127.0.0.1:8780/echo1")).toString(),
              QStringLiteral("http://127.0.0.1:8780/echo1"));
    EXPECT_EQ(HttpPageRequester::requestUrl(QStringLiteral("localhost:8780/keepalive")).toString(),
              QStringLiteral("http://localhost:8780/keepalive"));
    EXPECT_EQ(HttpPageRequester::requestUrl(QStringLiteral("example.org")).toString(),
              QStringLiteral("http://example.org"));
    EXPECT_EQ(HttpPageRequester::requestUrl(QStringLiteral("HTTPS://example.org/x")).toString(),
              QStringLiteral("https://example.org/x"));
    EXPECT_FALSE(HttpPageRequester::requestUrl(QStringLiteral("ftp://example.org/x")).isValid());
    EXPECT_FALSE(HttpPageRequester::requestUrl(QStringLiteral("file:///etc/passwd")).isValid());
    EXPECT_FALSE(HttpPageRequester::requestUrl(QStringLiteral("   ")).isValid());
    EXPECT_FALSE(HttpPageRequester::requestUrl(QStringLiteral("http://")).isValid());
}
