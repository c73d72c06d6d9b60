#include "ServiceSimulator.h"

#include <gtest/gtest.h>

// The service's state from tests/data/sim-test.txt, served without sockets.
class ServiceSimulatorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SimulatorData data;
        QString error;
        ASSERT_TRUE(data.loadFile(QStringLiteral(QUORVEX_TEST_DATA "/sim-test.txt"), &error)) << error.toStdString();
        m_sim = std::make_unique<ServiceSimulator>(std::move(data));
        m_sim->setPort(4711);
        m_sim->setClock([] { return QDateTime(QDate(2026, 6, 12), QTime(19, 22, 10)); });
    }

    ServiceSimulator::Answer answer(const QByteArray& target, bool loopback = true)
    {
        return m_sim->handle(HttpRequest::get(target), loopback);
    }

    QByteArray body(const QByteArray& target) { return answer(target).response.body(); }

    int status(const QByteArray& target) { return answer(target).response.status(); }

    QByteArray records() { return body("/control/records"); }

    std::unique_ptr<ServiceSimulator> m_sim;
};

TEST_F(ServiceSimulatorTest, AccountValidation)
{
    EXPECT_EQ(body("/ipupdate/account_validate.jsp?login=demo&password=demo123"), "0=Account validated");
    EXPECT_EQ(body("/ipupdate/account_validate.jsp?login=demo&password=demo1234"), "1=Invalid login");
    EXPECT_EQ(body("/ipupdate/account_validate.jsp?login=demo&password="), "1=Invalid login");
    EXPECT_EQ(body("/ipupdate/account_validate.jsp?login=demo"), "1=Invalid login");
    EXPECT_EQ(body("/ipupdate/account_validate.jsp?login=nobody&password=demo123"), "1=Invalid login");
    EXPECT_EQ(body("/ipupdate/account_validate.jsp?login=Demo&password=demo123"), "1=Invalid login");
    const ServiceSimulator::Answer ok = answer("/ipupdate/account_validate.jsp?login=demo&password=demo123");
    EXPECT_EQ(ok.response.status(), 200);
    EXPECT_EQ(ok.response.contentType(), "text/plain; charset=utf-8");
}

TEST_F(ServiceSimulatorTest, SpecialCharactersTravelPercentEncodedAndPlusIsNoSpace)
{
    EXPECT_EQ(body("/ipupdate/account_validate.jsp?login=o%26d%3Dd%23%25%2B%3B%20%C3%BC"
                   "&password=p%26w%3D%23%25%2B%3B%20%C3%A9"),
              "0=Account validated");
    // A "+" sent as such is a plus, not a space: this password does not match.
    EXPECT_EQ(body("/ipupdate/account_validate.jsp?login=o%26d%3Dd%23%25%2B%3B+%C3%BC"
                   "&password=p%26w%3D%23%25%2B%3B+%C3%A9"),
              "1=Invalid login");
    // Unescaped, the "&" and "#" cut the values short.
    EXPECT_EQ(body("/ipupdate/account_validate.jsp?login=o&d=d#%+; \xc3\xbc&password=p&w=#%+; \xc3\xa9"),
              "1=Invalid login");
    EXPECT_EQ(body("/ipupdate/domains.jsp?login=o%26d%3Dd%23%25%2B%3B%20%C3%BC&unique=x"), "0=special.test");
}

TEST_F(ServiceSimulatorTest, DomainLists)
{
    EXPECT_EQ(body("/ipupdate/domains.jsp?login=demo&unique=12%2F6%2F26%207%3A22%3A10%20PM"),
              "0=example.com example.net example.org");
    EXPECT_EQ(body("/ipupdate/domains.jsp?login=nodomains&unique=x"), "1=no domains");
    EXPECT_EQ(body("/ipupdate/domains.jsp?login=nobody&unique=x"), "2=Invalid login");
    EXPECT_EQ(body("/ipupdate/domains.jsp"), "2=Invalid login");
}

TEST_F(ServiceSimulatorTest, HostLists)
{
    EXPECT_EQ(body("/ipupdate/hosts.jsp?login=demo&domain=example.com&unique=x"), "0=www.example.com mail.example.com");
    EXPECT_EQ(body("/ipupdate/hosts.jsp?login=demo&domain=example.net&unique=x"), "0=home.example.net");
    EXPECT_EQ(body("/ipupdate/hosts.jsp?login=demo&domain=example.org&unique=x"), "1=no hosts/subdomain");
    EXPECT_EQ(body("/ipupdate/hosts.jsp?login=nobody&domain=example.com&unique=x"), "2=Invalid login");
    EXPECT_EQ(body("/ipupdate/hosts.jsp?login=demo&domain=example.invalid&unique=x"), "3=Unknown domain");
    EXPECT_EQ(body("/ipupdate/hosts.jsp?login=demo&domain=&unique=x"), "3=Unknown domain");
    // Another account's domain is unknown to this one.
    EXPECT_EQ(body("/ipupdate/hosts.jsp?login=demo&domain=special.test&unique=x"), "3=Unknown domain");
}

TEST_F(ServiceSimulatorTest, VersionPageNamesTheGatewayWithCrLf)
{
    const QByteArray expected = "url=http://127.0.0.1:4711/dyn/update\r\nversion=1.3\r\n";
    EXPECT_EQ(body("/ipupdate/dyndata.txt"), expected);
    EXPECT_EQ(body("/ipupdate/dyndata.txt?unique=12%2F6%2F26"), expected);
    ASSERT_EQ(status("/control/version?value=1.4"), 200);
    EXPECT_EQ(body("/ipupdate/dyndata.txt"), "url=http://127.0.0.1:4711/dyn/update\r\nversion=1.4\r\n");
}

TEST_F(ServiceSimulatorTest, GatewayUpdatesEachHostAndRecordsIt)
{
    EXPECT_EQ(records(), "www.example.com\t\tnever\nmail.example.com\t\tnever\nhome.example.net\t\tnever\n"
                         "odd.special.test\t198.51.100.20\tnever\n");
    EXPECT_EQ(body("/dyn/update?login=demo&password=demo123&force=Y&host=www.example.com;home.example.net"
                   "&myip=198.51.100.9&unique=x"),
              "0=www.example.com updated to 198.51.100.9\r\n0=home.example.net updated to 198.51.100.9\r\n");
    EXPECT_EQ(records(), "www.example.com\t198.51.100.9\t2026-06-12 19:22:10\n"
                         "mail.example.com\t\tnever\n"
                         "home.example.net\t198.51.100.9\t2026-06-12 19:22:10\n"
                         "odd.special.test\t198.51.100.20\tnever\n");

    const QByteArray page = body("/records");
    EXPECT_TRUE(page.contains("<td>www.example.com</td><td>example.com</td><td>demo</td><td>198.51.100.9</td>"
                              "<td>2026-06-12 19:22:10</td>"))
        << page.constData();
    EXPECT_TRUE(page.contains("<td>mail.example.com</td><td>example.com</td><td>demo</td><td></td><td>never</td>"));
    EXPECT_TRUE(page.contains("<td>o&amp;d=d#%+; \xc3\xbc</td>"));
}

TEST_F(ServiceSimulatorTest, GatewayWithoutAddressUsesTheReportedOne)
{
    ASSERT_EQ(status("/control/public-ip?value=192.0.2.44"), 200);
    EXPECT_EQ(body("/dyn/update?login=demo&password=demo123&force=Y&host=mail.example.com&unique=x"),
              "0=mail.example.com updated to 192.0.2.44\r\n");
    EXPECT_TRUE(records().contains("mail.example.com\t192.0.2.44\t2026"));
}

TEST_F(ServiceSimulatorTest, GatewayRefusals)
{
    EXPECT_EQ(body("/dyn/update?login=demo&password=wrong&force=Y&host=www.example.com;mail.example.com"
                   "&myip=198.51.100.9&unique=x"),
              "1=www.example.com invalid login\r\n1=mail.example.com invalid login\r\n");
    EXPECT_EQ(body("/dyn/update?login=demo&password=demo123&force=Y&host=www.example.com;nope.example.com;"
                   "odd.special.test&myip=198.51.100.9"),
              "0=www.example.com updated to 198.51.100.9\r\n1=nope.example.com unknown host\r\n"
              "1=odd.special.test unknown host\r\n");
    EXPECT_EQ(body("/dyn/update?login=demo&password=demo123&host=mail.example.com&myip=999.1.2.3"),
              "1=mail.example.com bad address 999.1.2.3\r\n");
    EXPECT_EQ(body("/dyn/update?login=demo&password=demo123&myip=198.51.100.9"), "1=no host given\r\n");
    // Refused updates leave the records alone; the other account's host keeps its address.
    EXPECT_TRUE(records().contains("mail.example.com\t\tnever\n"));
    EXPECT_TRUE(records().contains("odd.special.test\t198.51.100.20\tnever\n"));
}

TEST_F(ServiceSimulatorTest, GatewayStatusLineOption)
{
    const QByteArray update = "/dyn/update?login=demo&password=demo123&host=www.example.com&myip=192.0.2.1";
    ASSERT_EQ(status("/control/status-line?value=on"), 200);
    EXPECT_EQ(body(update), "HTTP/1.1 200 OK\r\n0=www.example.com updated to 192.0.2.1\r\n");
    ASSERT_EQ(status("/control/status-line?value=off"), 200);
    EXPECT_EQ(body(update), "0=www.example.com updated to 192.0.2.1\r\n");
    EXPECT_EQ(status("/control/status-line?value=yes"), 400);
}

TEST_F(ServiceSimulatorTest, EchoPagesPrintThePublicAddress)
{
    const QByteArray whatismyip = body("/whatismyip");
    EXPECT_EQ(whatismyip, "<html><head><title>What is my IP</title></head><body><h1>Your IP address</h1>"
                          "<p>Current IP Address: 203.0.113.7</p></body></html>");
    EXPECT_EQ(answer("/whatismyip").response.contentType(), "text/html; charset=utf-8");
    ASSERT_EQ(status("/control/public-ip?value=198.51.100.77"), 200);
    QList<QByteArray> pages;
    for (const QByteArray path : {"/whatismyip", "/echo1", "/echo2", "/echo3"}) {
        const QByteArray page = body(path);
        EXPECT_TRUE(page.contains("198.51.100.77")) << path.constData();
        EXPECT_FALSE(page.contains("203.0.113.7")) << path.constData();
        EXPECT_FALSE(pages.contains(page)) << "pages differ";
        pages.append(page);
    }
    EXPECT_EQ(status("/control/public-ip?value=1.2.3"), 400);
    EXPECT_TRUE(body("/echo1").contains("198.51.100.77"));
}

TEST_F(ServiceSimulatorTest, OtherPages)
{
    for (const QByteArray path :
         {"/keepalive?10:22:01 PM", "/", "/Direct.sv?cmd=signup", "/Direct.sv?cmd=ipClients", "/records"}) {
        const ServiceSimulator::Answer page = answer(path);
        EXPECT_EQ(page.response.status(), 200) << path.constData();
        EXPECT_EQ(page.response.contentType(), "text/html; charset=utf-8") << path.constData();
        EXPECT_TRUE(page.response.body().startsWith("<html>")) << path.constData();
    }
    EXPECT_EQ(status("/Direct.sv?cmd=other"), 404);
    const ServiceSimulator::Answer missing = answer("/ipupdate/nothing.jsp");
    EXPECT_EQ(missing.response.status(), 404);
    EXPECT_EQ(missing.response.body(), "404 Not Found: /ipupdate/nothing.jsp");
    EXPECT_EQ(m_sim->handle(HttpRequest::get("/echo1"), true).response.status(), 200);
}

TEST_F(ServiceSimulatorTest, RedirectStaysOnThisServer)
{
    const ServiceSimulator::Answer redirect = answer("/redirect?to=%2Fipupdate%2Fdyndata.txt%3Funique%3D1");
    EXPECT_EQ(redirect.response.status(), 302);
    EXPECT_TRUE(redirect.response.head().contains("\r\nLocation: /ipupdate/dyndata.txt?unique=1\r\n"));
    EXPECT_EQ(status("/redirect?to=http%3A%2F%2Fexample.com%2F"), 400);
    EXPECT_EQ(status("/redirect?to=%2F%2Fexample.com%2F"), 400);
    EXPECT_EQ(status("/redirect?to=%2Fa%0D%0AX-Injected%3A%201"), 400);
    EXPECT_EQ(status("/redirect"), 400);
}

TEST_F(ServiceSimulatorTest, ControlPagesOnlyForLoopback)
{
    const ServiceSimulator::Answer refused = answer("/control/public-ip?value=192.0.2.1", false);
    EXPECT_EQ(refused.response.status(), 403);
    EXPECT_TRUE(body("/echo1").contains("203.0.113.7"));
    EXPECT_EQ(answer("/control/log", false).response.status(), 403);
    EXPECT_EQ(status("/control/unknown"), 404);
    EXPECT_EQ(body("/control/public-ip?value=192.0.2.1"), "ok");
    EXPECT_EQ(status("/control/public-ip"), 400);
    EXPECT_EQ(status("/control/version?value="), 400);
    EXPECT_EQ(status("/control/version?value=1.4%0D%0Aurl=x"), 400);
}

TEST_F(ServiceSimulatorTest, FaultsApplyToTheirPathOnly)
{
    ASSERT_EQ(status("/control/fault?path=/echo1&kind=hang"), 200);
    EXPECT_EQ(answer("/echo1?x=1").fault.kind, FaultPlan::Kind::Hang);
    EXPECT_EQ(answer("/echo1").fault.kind, FaultPlan::Kind::Hang);
    EXPECT_EQ(answer("/echo2").fault.kind, FaultPlan::Kind::None);
    EXPECT_EQ(answer("/echo10").fault.kind, FaultPlan::Kind::None);
    ASSERT_EQ(status("/control/fault?path=/echo1&kind=none"), 200);
    EXPECT_EQ(answer("/echo1").fault.kind, FaultPlan::Kind::None);

    // times=N: the next N requests, then the path is healthy again.
    ASSERT_EQ(status("/control/fault?path=%2Fipupdate%2Fdomains.jsp&kind=500&times=2"), 200);
    for (int i = 0; i < 2; ++i) {
        const ServiceSimulator::Answer failed = answer("/ipupdate/domains.jsp?login=demo");
        EXPECT_EQ(failed.response.status(), 500);
        EXPECT_EQ(failed.response.body(), "Internal Server Error");
    }
    EXPECT_EQ(body("/ipupdate/domains.jsp?login=demo"), "0=example.com example.net example.org");
}

TEST_F(ServiceSimulatorTest, FaultAnswers)
{
    ASSERT_EQ(status("/control/fault?path=/echo1&kind=500-empty"), 200);
    const ServiceSimulator::Answer empty = answer("/echo1");
    EXPECT_EQ(empty.response.status(), 500);
    EXPECT_TRUE(empty.response.body().isEmpty());
    EXPECT_TRUE(empty.response.head().contains("\r\nContent-Length: 0\r\n"));

    ASSERT_EQ(status("/control/fault?path=/echo1&kind=huge&times=1"), 200);
    const ServiceSimulator::Answer huge = answer("/echo1");
    EXPECT_EQ(huge.response.status(), 200);
    EXPECT_EQ(huge.response.body().size(), ServiceSimulator::HugeBodySize);
    EXPECT_FALSE(huge.response.body().contains("0="));

    ASSERT_EQ(status("/control/fault?path=/echo1&kind=slow&delay-ms=15"), 200);
    const ServiceSimulator::Answer slow = answer("/echo1");
    EXPECT_EQ(slow.fault.kind, FaultPlan::Kind::Slow);
    EXPECT_EQ(slow.fault.delayMs, 15);
    EXPECT_TRUE(slow.response.body().contains("203.0.113.7"));

    EXPECT_EQ(status("/control/fault?path=/echo1&kind=explode"), 400);
    EXPECT_EQ(status("/control/fault?path=/echo1"), 400);
    EXPECT_EQ(status("/control/fault?path=echo1&kind=hang"), 400);
    EXPECT_EQ(status("/control/fault?path=/control/log&kind=hang"), 400);
    EXPECT_EQ(status("/control/fault?path=/echo1&kind=hang&times=0"), 400);
    EXPECT_EQ(status("/control/fault?path=/echo1&kind=hang&times=x"), 400);
    EXPECT_EQ(status("/control/fault?path=/echo1&kind=slow&delay-ms=-1"), 400);
    EXPECT_EQ(m_sim->faults().peek(QStringLiteral("/echo1")).kind, FaultPlan::Kind::Slow);
}

TEST_F(ServiceSimulatorTest, FaultedGatewayRequestsReachTheServiceOnlyWhenAnswered)
{
    const QByteArray update = "/dyn/update?login=demo&password=demo123&host=www.example.com&myip=192.0.2.1";
    ASSERT_EQ(status("/control/fault?path=/dyn/update&kind=drop&times=1"), 200);
    answer(update);
    EXPECT_TRUE(records().contains("www.example.com\t\tnever\n"));
    ASSERT_EQ(status("/control/fault?path=/dyn/update&kind=reset&times=1"), 200);
    answer(update);
    EXPECT_TRUE(records().contains("www.example.com\t192.0.2.1\t"));
}

TEST_F(ServiceSimulatorTest, RequestLog)
{
    QStringList logged;
    QObject::connect(m_sim.get(), &ServiceSimulator::requestLogged, m_sim.get(),
                     [&logged](const QString& line) { logged.append(line); });
    answer("/ipupdate/domains.jsp?login=demo&unique=12%2F6%2F26%207%3A22%3A10%20PM");
    answer("/control/public-ip?value=192.0.2.1");
    answer("/echo1");
    ASSERT_EQ(status("/control/fault?path=/echo2&kind=drop"), 200);
    answer("/echo2?a=%2B+");
    answer("/nothing");
    const QByteArray expected = "GET /ipupdate/domains.jsp?login=demo&unique=12%2F6%2F26%207%3A22%3A10%20PM\n"
                                "GET /echo1\nGET /echo2?a=%2B+\nGET /nothing\n";
    EXPECT_EQ(body("/control/log"), expected);
    ASSERT_EQ(logged.size(), 4);
    EXPECT_EQ(logged.first(),
              QStringLiteral("GET /ipupdate/domains.jsp?login=demo&unique=12%2F6%2F26%207%3A22%3A10%20PM"));
    EXPECT_EQ(body("/control/log/clear"), "ok");
    EXPECT_EQ(body("/control/log"), "");
    answer("/echo3");
    EXPECT_EQ(body("/control/log"), "GET /echo3\n");
}
