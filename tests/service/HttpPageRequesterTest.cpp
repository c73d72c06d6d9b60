#include "HttpPageRequester.h"
#include "ErrorPage.h"
#include "support/CannedHttpServer.h"
#include "support/ClosedLoopbackPort.h"
#include "support/QtPrinters.h"
#include "support/SimulatorProcess.h"

#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QRegularExpression>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <tuple>

using namespace Qt::StringLiterals;
using enum PageRequester::Outcome;
using Reason = ErrorPage::Reason;

namespace {

constexpr qsizetype MiB = qsizetype{1024} * 1024;

class HttpPageRequesterTest : public ::testing::Test
{
protected:
    HttpPageRequesterTest() { manager.setProxy(QNetworkProxy::NoProxy); }

    // Navigates and expects one completion from the event loop, at the URL navigated: the row's
    // answer when it has one, else its error page, which no answer grammar and no address search
    // may take for a real answer. Returns how long it took.
    qint64 expectLoad(const QString& url, const QString& answer, Reason reason,
                      PageRequester::Outcome outcome = Answered)
    {
        static const QRegularExpression dottedQuad(u"\\d+\\.\\d+\\.\\d+\\.\\d+"_s);
        QSignalSpy spy(&requester, &PageRequester::DocumentComplete);
        const auto start = std::chrono::steady_clock::now();
        requester.Navigate(url);
        EXPECT_TRUE(spy.isEmpty());
        if (!spy.wait(20000)) {
            ADD_FAILURE() << "no completion";
            return 0;
        }
        const QString text = spy.at(0).at(1).toString();
        EXPECT_EQ(spy.at(0).at(0).toString(), url);
        EXPECT_EQ(spy.at(0).at(2).value<PageRequester::Outcome>(), answer.isNull() ? Failed : outcome);
        EXPECT_EQ(text, answer.isNull() ? ErrorPage::text(reason) : answer);
        EXPECT_FALSE(answer.isNull() && (text.isEmpty() || text.contains(u'=') || text.contains(dottedQuad)));
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    }

    QNetworkAccessManager manager;
    HttpPageRequester requester{manager};
};

TEST_F(HttpPageRequesterTest, EveryFaultEndsInOneCompletionInItsTimeAndANewNavigateAbandonsTheOldPage)
{
    SimulatorProcess sim;
    ASSERT_TRUE(sim.start()) << sim.errorString().toStdString();
    const quint16 closed = ClosedLoopbackPort::pick();
    ASSERT_NE(closed, 0);
    requester.setTimeout(std::chrono::seconds(1));
    const QString echo = sim.baseUrl() + u"/echo1"_s;
    const std::tuple<QString, const char*, QString, Reason, bool> rows[] = {
        {u"http://127.0.0.1:%1/echo1"_s.arg(closed), "none", {}, Reason::Refused, false},
        // Only web pages are fetched: a locator never reads a local file.
        {u"file:///etc/passwd"_s, "none", {}, Reason::UnsupportedAddress, false},
        {echo, "hang", {}, Reason::TimedOut, true},
        // One byte every 200 ms keeps the connection busy but never ends within the time-out.
        {echo, "slow", {}, Reason::TimedOut, true},
        {echo, "500-empty", {}, Reason::HttpError, false},
        {echo, "garbage", {}, Reason::ConnectionLost, false},
        {echo, "drop", {}, Reason::ConnectionLost, false},
        {echo, "reset", {}, Reason::ConnectionLost, false},
        {echo, "huge", {}, Reason::TooLarge, false},
        // An error status with a page shows the page, as a browser would, told apart from an answer.
        {echo, "500", u"Internal Server Error"_s, {}, false},
        {echo,
         "404-footer",
         u"Not Found\r\nThe requested URL was not found on this server.\r\n"
         u"Apache/2.4.57 (Debian) Server at 10.0.0.5 Port 80"_s,
         {},
         false},
        // A page with nothing to show is no answer: only the blank page completes empty.
        {echo, "empty", {}, Reason::EmptyPage, false},
        {sim.hostAndPort() + u"/echo1"_s, "none", u"Your IP is 203.0.113.7"_s, {}, false},
    };
    for (const auto& [url, fault, answer, reason, timesOut] : rows) {
        SCOPED_TRACE(url.toStdString() + " " + fault);
        ASSERT_TRUE(sim.control(u"/control/fault?path=/echo1&kind="_s + QLatin1StringView(fault)));
        const auto outcome = QByteArrayView(fault) == "500"          ? ServerError
                             : QByteArrayView(fault) == "404-footer" ? ClientError
                                                                     : Answered;
        const qint64 took = expectLoad(url, answer, reason, outcome);
        // The time-out is a coarse timer, which may fire up to 5 % early (950 ms), and the stopwatch
        // starts a moment before it.
        EXPECT_TRUE(timesOut ? took >= 925 && took < 4000 : took < 900) << took;
    }
    // A finished request does not time out later.
    QSignalSpy late(&requester, &PageRequester::DocumentComplete);
    EXPECT_FALSE(late.wait(1200));

    // After a reset the network layer now and then reports half a body as the whole page; half a
    // host list must never pass for the list.
    ASSERT_TRUE(sim.control(u"/control/fault?path=/ipupdate/hosts.jsp&kind=reset"_s));
    for (int attempt = 0; attempt < 40; ++attempt) {
        expectLoad(sim.baseUrl() + u"/ipupdate/hosts.jsp?login=demo&password=demo123"_s, {}, Reason::ConnectionLost);
    }

    // Redirects are followed, and a new navigate abandons the page in flight.
    QSignalSpy spy(&requester, &PageRequester::DocumentComplete);
    requester.Navigate(sim.baseUrl() + u"/redirect?to=/ipupdate/dyndata.txt"_s);
    ASSERT_TRUE(spy.wait(5000));
    EXPECT_EQ(spy.at(0).at(0).toString(), sim.baseUrl() + u"/ipupdate/dyndata.txt"_s);
    EXPECT_EQ(spy.at(0).at(1).toString(), u"url=http://127.0.0.1:%1/dyn/update\r\nversion=1.3"_s.arg(sim.port()));

    ASSERT_TRUE(sim.control(u"/control/fault?path=/echo1&kind=slow"_s));
    requester.Navigate(u"about:blank"_s);
    requester.Navigate(sim.baseUrl() + u"/echo1"_s);
    EXPECT_FALSE(spy.wait(300));
    // A handler may navigate again from inside the completion it is handling.
    QObject::connect(&requester, &PageRequester::DocumentComplete, &requester, [&] {
        if (spy.size() == 2) {
            requester.Navigate(u"about:blank"_s);
        }
    });
    requester.Navigate(sim.hostAndPort() + u"/echo2"_s);
    while (spy.size() < 3 && spy.wait(5000)) {
    }
    EXPECT_FALSE(spy.wait(300));
    ASSERT_EQ(spy.size(), 3);
    EXPECT_EQ(spy.at(1).at(1).toString(), u"Your address\r\n203.0.113.7"_s);
    EXPECT_EQ(spy.at(2).at(0).toString(), u"about:blank"_s);
}

// A locator is reached at its IPv4 address, redirects included, where a page that prints its
// caller's address prints the IPv4 one; a host with only IPv6 fails like one that cannot be found.
// Every request names the program, and a server reached by address still hears its name.
TEST_F(HttpPageRequesterTest, ALocatorIsReachedOverIpv4AndEveryRequestNamesTheProgram)
{
    SimulatorProcess sim;
    ASSERT_TRUE(sim.start()) << sim.errorString().toStdString();
    const QString ipv6 = u"http://[::1]:%1/whatismyip"_s.arg(sim.port());
    const QString redirect = sim.baseUrl() + u"/redirect?to=/whatismyip"_s;
    const std::unique_ptr<HttpPageRequester> locator(
        HttpPageRequester::forExchange(manager, u"wb_external"_s, u"Quorvex"_s, nullptr));
    // The completed page's URL and the address its text shows (its text when it shows none).
    const auto load = [](PageRequester& page, const QString& url) {
        QSignalSpy spy(&page, &PageRequester::DocumentComplete);
        page.Navigate(url);
        EXPECT_TRUE(spy.wait(5000)) << url.toStdString();
        const QString text = spy.isEmpty() ? QString() : spy.at(0).at(1).toString();
        const QString address = text.section(u"Current IP Address: "_s, 1);
        return QStringList{spy.isEmpty() ? QString() : spy.at(0).at(0).toString(), address.isEmpty() ? text : address};
    };
    // Any family for the other exchanges: the simulator's dual-stack page answers an IPv6 caller.
    EXPECT_EQ(load(requester, ipv6).value(1), u"2001:db8::7"_s);
    EXPECT_EQ(load(*locator, ipv6), QStringList({ipv6, ErrorPage::text(Reason::HostNotFound)}));
    EXPECT_EQ(load(*locator, redirect), QStringList({sim.baseUrl() + u"/whatismyip"_s, u"203.0.113.7"_s}));
    // "localhost" resolves to ::1 too on most machines, where it was reached over IPv6.
    EXPECT_EQ(load(*locator, u"localhost:%1/whatismyip"_s.arg(sim.port())).value(1), u"203.0.113.7"_s);

    CannedHttpServer server(CannedHttpServer::plain("ok"));
    ASSERT_TRUE(server.listen());
    const QString named = server.url(u"/page"_s).replace(u"127.0.0.1"_s, u"localhost"_s);
    EXPECT_EQ(load(*locator, named).value(1), u"ok"_s);
    EXPECT_TRUE(server.lastRequest().contains("\r\nUser-Agent: Quorvex/1.3\r\n")) << server.lastRequest().toStdString();
    EXPECT_TRUE(server.lastRequest().contains(QByteArray("\r\nHost: " + QUrl(named).authority().toLatin1() + "\r\n")));
}

// A zlib stream ("deflate" as HTTP means it) behind the header that names it.
QByteArray deflated(const QByteArray& body)
{
    return CannedHttpServer::plain(qCompress(body, 9).mid(4), "Content-Encoding: deflate\r\n");
}

TEST_F(HttpPageRequesterTest, TheSizeCapHoldsHoweverTheAnswerComes)
{
    const QByteArray over(MiB + 1, 'a');
    const QByteArray head = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\n";
    const std::tuple<const char*, QByteArray, QString, Reason> rows[] = {
        {"exactly the cap", CannedHttpServer::plain(QByteArray(MiB, 'a')), QString(MiB, u'a'), {}},
        {"one byte more", CannedHttpServer::plain(over), {}, Reason::TooLarge},
        {"no length", head + "\r\n" + over, {}, Reason::TooLarge},
        {"chunked",
         head + "Transfer-Encoding: chunked\r\n\r\n100001\r\n" + over + "\r\n0\r\n\r\n",
         {},
         Reason::TooLarge},
        {"understated length", head + "Content-Length: 10\r\n\r\n" + over, u"aaaaaaaaaa"_s, {}},
        {"body shorter than its length", head + "Content-Length: 40\r\n\r\nhome.ex", {}, Reason::ConnectionLost},
        {"under the cap packed, over it unpacked", deflated(QByteArray(3 * MiB / 2, 'a')), {}, Reason::TooLarge},
        {"64 KiB that unpack to 64 MiB", deflated(QByteArray(64 * MiB, 'a')), {}, Reason::HttpError},
        {"packed small", deflated("0=Account validated"), u"0=Account validated"_s, {}},
        // Plain text as it is, but for the line ends and blanks a server puts around it.
        {"plain text", CannedHttpServer::plain(" 0=<b>ok</b>\n1=x &amp;\r\n"), u"0=<b>ok</b>\n1=x &amp;"_s, {}},
        {"no content", "HTTP/1.1 204 No Content\r\nConnection: close\r\n\r\n", {}, Reason::EmptyPage},
        {"markup only",
         "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n<html><body><p> </p></body></html>",
         {},
         Reason::EmptyPage},
    };
    for (const auto& [name, response, answer, reason] : rows) {
        SCOPED_TRACE(name);
        CannedHttpServer server(response);
        ASSERT_TRUE(server.listen());
        EXPECT_LT(expectLoad(server.url(u"/page"_s), answer, reason), 5000);
    }
}

} // namespace
