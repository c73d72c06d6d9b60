#include "AccountFile.h"
#include "AddressText.h"
#include "DomainHostLists.h"
#include "ErrorPage.h"
#include "EventLog.h"
#include "HttpPageRequester.h"
#include "PageText.h"
#include "RetryAfter.h"
#include "ServiceConstants.h"
#include "ServiceUrls.h"
#include "SettingsModel.h"
#include "UpdateExchange.h"
#include "UpdateFile.h"
#include "ValidationAnswer.h"
#include "VersionCheck.h"
#include "WizardHostStep.h"
#include "support/FakeClock.h"
#include "support/FakeDesktop.h"
#include "support/FakeHostChecklist.h"
#include "support/FakeMainForm.h"
#include "support/QtPrinters.h"
#include "support/ScriptedPageRequester.h"
#include "support/TemporaryAppDirectory.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrlQuery>
#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include <sys/inotify.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using enum PageRequester::Outcome;

namespace {

TEST(PageTextTest, BodiesShowAsABrowserShowsThem)
{
    const std::tuple<QByteArray, QByteArray, QString> rows[] = {
        {"a &amp; b &lt;c&gt; &quot;d&quot; &#65;&#x42;&nbsp;e", "text/html", u"a & b <c> \"d\" AB e"_s},
        {"<p>a</p><div>b</div><h1>c<br>d</h1><ul><li>e<li>f</ul><p><b>g</b> <a href=x>h</a><img src=y>", "text/html",
         u"a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng h"_s},
        {"<html><head><title>T</title><style>p{}</style><script>x='0=OK'</script></head><body><script>"
         "document.write('1.2.3.4')</script>IP: 198.51.100.7</body></html>",
         "text/html", u"IP: 198.51.100.7"_s},
        {"<body>\n\n  <p>url=x</p>\n<p>&nbsp;</p></body>", "text/html", u"url=x"_s},
        // An HTML parser reads a bare CR as a line feed.
        {"<pre>a\nb\r\nc\rd</pre><p>e</p><table><tr><td>f<tr><td>g</table>", "text/html",
         u"a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng"_s},
        {"<a title=\"x > 192.0.2.1\" href='a>b'>link</a><!-- <p>192.0.2.1</p> -->", "text/html", u"link"_s},
        {"<script>if (a < b) document.write('<p>1</p>')</script>ok<!-- unclosed 192.0.2.2", "text/html", u"ok"_s},
        {"a < b and 1<2, 3 > 2<o:p>c</o:p>", "text/html", u"a < b and 1<2, 3 > 2c"_s},
        {QByteArray("<div>").repeated(1000) + "IP <b>203.0.113.7</b>", "text/html", u"IP 203.0.113.7"_s},
        {QByteArray("<p>x").repeated(300), "text/html", QStringList(300, u"x"_s).join(u"\r\n"_s)},
        // Markup and bare line feeds in a plain-text answer are the answer itself.
        {"0=<b>ok</b>\n1=x &amp;", "text/plain; charset=utf-8", u"0=<b>ok</b>\n1=x &amp;"_s},
        {"caf\xe9", "text/plain; charset=ISO-8859-1", u"caf\u00e9"_s},
        {"<head><meta charset=\"iso-8859-1\"></head><body>caf\xe9</body>", "text/html", u"caf\u00e9"_s},
        {"\r\n<!DOCTYPE html><p>1.2.3.4<br>x", "", u"1.2.3.4\r\nx"_s},
        // A router's status page: only the address of the connection in use is shown.
        {"<title>192.0.2.1</title><style>p{}/*192.0.2.2*/</style><script>ip='192.0.2.3'</script><!-- 192.0.2.4 -->"
         "<form><input value=\"10.0.0.9\"><div hidden>192.0.2.5</div><p style=\"color:red; DISPLAY : none "
         "!important\">100.64.0.1</p><table><tr><th>WAN <td> 203.0.113.50</table>",
         "text/html", u"WAN\t203.0.113.50"_s},
    };
    for (const auto& [body, type, text] : rows) {
        SCOPED_TRACE(body.left(60).toStdString());
        EXPECT_EQ(PageText::fromBody(body, type), text);
    }
    EXPECT_EQ(PageText::withCrLf(u"a\nb\rc\r\nd\u2028e\u2029f"_s), u"a\r\nb\r\nc\r\nd\r\ne\r\nf"_s);
}

// A page on the network names local files at will: a background of /dev/zero once ran the
// program out of memory, a named pipe held it for ever.
TEST(PageTextTest, NothingAPageNamesIsOpened)
{
    const QTemporaryDir dir;
    const QString file = dir.filePath(u"named.css"_s);
    ASSERT_TRUE(QFile(file).open(QIODevice::WriteOnly));
    const int watch = inotify_init1(IN_NONBLOCK);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, QFile::encodeName(file).constData(), IN_OPEN), 0);
    for (const char* page : {"<body background=\"%1\">a</body>", "<table background=\"%1\"><tr><td>a</table>",
                             "<style>@import url(%1);</style>a", "<link rel=stylesheet href=\"%1\">a",
                             "<img src=\"%1\" width=10>a", "<p style=\"background-image: url(%1)\">a</p>"}) {
        EXPECT_EQ(PageText::fromHtml(QString::fromLatin1(page).arg(file)), u"a"_s) << page;
        std::array<char, 4096> events{};
        EXPECT_LE(read(watch, events.data(), events.size()), 0) << page << " opened the file it names";
    }
    close(watch);
}

// Pages of a quarter of the size cap built to make rendering or parsing work in proportion to the
// square of their size; each took seconds (the parser) to minutes (the former renderer) once.
TEST(PageTextTest, HostilePagesRenderFastAndKeepTheirText)
{
    for (const QString& unit :
         {u"<div>"_s, u"<ul><li>"_s, u"<dl><dd>"_s, u"<table><tr><td>"_s, u"<img>"_s, u"<input>"_s, u"<option>"_s,
          u"<table><tr><td colspan=1000000 rowspan=1000000>x</table>"_s}) {
        const QString html = unit.repeated(qsizetype{256} * 1024 / unit.size()) + u"Your IP is 203.0.113.7"_s;
        QElapsedTimer elapsed;
        elapsed.start();
        EXPECT_TRUE(PageText::fromHtml(html).contains(u"Your IP is 203.0.113.7"_s)) << unit.toStdString();
        EXPECT_LT(elapsed.elapsed(), 3000) << unit.toStdString();
    }
}

TEST(AddressTextTest, FirstDottedQuadAsItStands)
{
    // The first run of four digit groups, with no range check; digits of other scripts are no digits.
    const std::pair<QString, QString> rows[] = {{u"Your IP is 203.0.113.7 then 2.2.2.2"_s, u"203.0.113.7"_s},
                                                {u"v1.2.3 or 1..2.3.4 then 5.6.7.8.9"_s, u"5.6.7.8"_s},
                                                {u"ip=1234.5.6.7;"_s, u"1234.5.6.7"_s},
                                                {u"\u0661.\u0662.\u0663.\u0664"_s, QString()}};
    for (const auto& [text, address] : rows) {
        EXPECT_EQ(AddressText::ExtractIP(text), address) << text.toStdString();
    }
}

// What an IPv4-only request connects to, from the resolver's answers for a name.
TEST(HttpPageRequesterUnitTest, TheFirstIpv4AnswerOfTheResolverIsTaken)
{
    const auto a = [](const char16_t* text) { return QHostAddress(QString::fromUtf16(text)); };
    const std::pair<QList<QHostAddress>, QHostAddress> rows[] = {
        {{a(u"::1"), a(u"127.0.0.1"), a(u"127.0.0.2")}, a(u"127.0.0.1")},
        {{a(u"2001:db8::7")}, {}},
        {{a(u"::ffff:198.51.100.1")}, a(u"198.51.100.1")},
        {{}, {}}};
    for (const auto& [answers, chosen] : rows) {
        EXPECT_EQ(HttpPageRequester::firstIpv4(answers), chosen) << chosen.toString().toStdString();
    }
}

TEST(ValidationAnswerTest, Verdicts)
{
    using enum ValidationAnswer::Verdict;
    const QString page = u"http://127.0.0.1:8780/ipupdate/account_validate.jsp?login=a&password=b"_s;
    const QString other = u"http://127.0.0.1:8780/portal/login"_s;
    // Only the first code counts, "10=" is no "0=", and a digit of another script is no code.
    const std::tuple<QString, QString, ValidationAnswer::Verdict> rows[] = {
        {page, u"status: 0=ok"_s, Valid},
        {page, u"10=Hostname 0="_s, Invalid},
        {page, u"\u0661= 0=OK"_s, Valid},
        {page, u"Internal Server Error"_s, Invalid},
        {page, ErrorPage::text(ErrorPage::Reason::TimedOut), Invalid},
        {other, u"error: 10=Hostname"_s, Valid},
        {other, u"0=OK"_s, Undetermined},
        {other, ErrorPage::text(ErrorPage::Reason::Refused), Undetermined},
        {u"http://h/ipupdate/Account_Validate.jsp"_s, u"0=OK"_s, Undetermined}};
    for (const auto& [url, text, verdict] : rows) {
        EXPECT_EQ(ValidationAnswer::classify(url, text), verdict) << text.toStdString();
    }
}

TEST(ServiceUrlsTest, EveryValueReachesTheServiceAsTyped)
{
    // "+" and a space stay apart, so that no server can read either back as the other.
    EXPECT_EQ(ServiceUrls::encodeQueryValue(u"a&b=c#d%e+f;g h/?:@\u00e9AZaz09-._~"_s),
              u"a%26b%3Dc%23d%25e%2Bf%3Bg%20h%2F%3F%3A%40%C3%A9AZaz09-._~"_s);
    const ServiceUrls urls(u"127.0.0.1:8780"_s);
    const QString user = u"al ice+bob&x=y"_s;
    const QString password = u"p&ss=w#rd+%20;\u00e9 "_s;
    const QString now = u"12/6/26 7:22:10 PM"_s;
    const std::pair<QString, QStringList> rows[] = {
        {urls.validation(user, password), {user, password}},
        {urls.domains(user, now), {user, now}},
        {urls.hosts(user, u"ex&ample.org#x"_s, now), {user, u"ex&ample.org#x"_s, now}},
        {urls.versionPageOnDemand(now), {now}},
    };
    for (const auto& [url, typed] : rows) {
        SCOPED_TRACE(url.toStdString());
        QStringList values;
        for (const auto& item : QUrlQuery(QUrl(url)).queryItems(QUrl::FullyDecoded)) {
            values.append(item.second);
        }
        EXPECT_EQ(values, typed);
        // The requester sends the URL as built: no escape is undone or added on the way.
        EXPECT_EQ(HttpPageRequester::requestUrl(url).toString(QUrl::FullyEncoded), url);
    }
    EXPECT_EQ(urls.signupPage(), u"http://127.0.0.1:8780/Direct.sv?cmd=signup"_s);
    EXPECT_TRUE(urls.validation(user, password).startsWith(u"http://127.0.0.1:8780/ipupdate/account_validate.jsp?"_s));
}

// The default build is the one the tests run in, and no test may reach beyond loopback.
TEST(ServiceConstantsTest, EveryHostConstantPointsAtLoopback)
{
    const QStringList hosts = ServiceConstants::defaultLocators()
                              << ServiceConstants::serviceHost() << ServiceConstants::keepAliveSite();
    EXPECT_EQ(hosts.size(), 6);
    for (const QString& host : hosts) {
        EXPECT_EQ(HttpPageRequester::requestUrl(host).host(), u"127.0.0.1"_s) << host.toStdString();
    }
}

struct FakeWizard : WizardHostStep
{
    bool isOpen() const override { return open; }
    HostChecklist& checklist() override { return list; }
    void enableNext() override { ++nextEnabled; }

    bool open = false;
    FakeHostChecklist list;
    int nextEnabled = 0;
};

// The three exchanges over scripted requesters, with an account of two hosts ("mail", "ftp")
// whose name and password hold characters that mean something in a query.
struct Rig
{
    Rig()
    {
        model.ConfigPath = dir.path();
        model.GatewayURL = u"http://127.0.0.1:8780/gateway"_s;
        form.user = u"al&ice"_s;
        form.pass = u"s;c&t=\U0001F600"_s;
        form.remote = u"198.51.100.9"_s;
        form.machine = u"192.0.2.7"_s;
        form.last = u"Updating ..."_s;
        writeAccount({u"mail"_s, u"ftp"_s});
    }

    void writeAccount(const QStringList& hosts) const
    {
        EXPECT_TRUE(AccountFile::write(dir.path(), u"al&ice"_s, u"s;c&t=\U0001F600"_s, hosts));
    }
    QString line(const QString& message) const { return clock.NowText() + u" - "_s + message + u"\r\n"_s; }
    // An error page completes as a failure, anything else as an answer.
    static void complete(ScriptedPageRequester& requester, const QString& text)
    {
        requester.completeWith(text, text.startsWith(u"The page cannot be displayed"_s) ? Failed : Answered);
    }
    // The text of the box before the program ended; empty when it did not end.
    QString fatal() const { return desktop.endProgramCalls() == 1 ? desktop.lastMessage().text : QString(); }

    TemporaryAppDirectory dir;
    SettingsModel model;
    FakeMainForm form;
    FakeClock clock;
    EventLog log{clock};
    FakeDesktop desktop;
    FakeHostChecklist checklist;
    FakeWizard wizard;
    ServiceUrls urls{u"127.0.0.1:8780"_s};
    ScriptedPageRequester wb_setip;
    ScriptedPageRequester wb_updates;
    ScriptedPageRequester wb_domains;
    ScriptedPageRequester wb_hosts;
    UpdateExchange updates{wb_setip, model, form, log, clock};
    VersionCheck check{wb_updates, model, log, desktop, clock, urls};
    DomainHostLists lists{wb_domains, wb_hosts, model, form, checklist, wizard, updates, log, desktop, clock, urls};
    QSignalSpy chainEnded{&lists, &DomainHostLists::chainEnded};
};

TEST(UpdateExchangeTest, SendsTheAccountsHostsAndTheAddressWhenItChangedOrWasForced)
{
    Rig r;
    r.updates.UpdateIP();
    EXPECT_EQ(r.wb_setip.lastNavigation(),
              r.model.GatewayURL + u"?login=al%26ice&password=s%3Bc%26t%3D%F0%9F%98%80&force=Y&host=mail;ftp"
                                   u"&myip=198.51.100.9&unique=6%20Dec%202026%2019%3A22%3A10"_s);
    EXPECT_EQ(r.log.text(), r.line(u"Attempting to update IPs ..."_s) + u"\t>> "_s + r.model.GatewayURL +
                                u"?login=al%26ice&password=*******&host=mail;ftp&myip=198.51.100.9\r\n"_s);
    EXPECT_EQ(r.model.Force, 0);
    r.wb_setip.completeWith(u"0=mail\r\n0=ftp"_s);

    r.updates.UpdateIP();
    EXPECT_EQ(r.form.response, u"Not updated. IP had not changed."_s);
    r.model.Force = 1;
    r.updates.UpdateIP();
    r.wb_setip.completeWith(u"0=mail\r\n0=ftp"_s);
    r.updates.UpdateIP(); // a forced update forces only itself
    r.form.remote = u"203.0.113.5"_s;
    r.updates.UpdateIP();
    r.form.useRouter = false;
    r.updates.UpdateIP();
    // No dotted quad to send: the gateway takes the caller's own address.
    r.form.machine = u"Checking ..."_s;
    r.updates.UpdateIP();
    QStringList sent;
    for (const QString& url : r.wb_setip.navigations()) {
        sent.append(QUrlQuery(QUrl(url)).queryItemValue(u"myip"_s));
    }
    EXPECT_EQ(sent, QStringList({u"198.51.100.9"_s, u"198.51.100.9"_s, u"203.0.113.5"_s, u"192.0.2.7"_s, QString()}));
    EXPECT_FALSE(r.wb_setip.lastNavigation().contains(u"myip"_s));
    // A value never adds a parameter of its own.
    r.writeAccount({u"h&myip=1.2.3.4&force=N"_s});
    r.updates.UpdateIP();
    EXPECT_EQ(QUrlQuery(QUrl(r.wb_setip.lastNavigation())).queryItems().size(), 5);
    // No gateway known yet (the wizard's placeholder) or a damaged one: nothing is sent, the log
    // says why, and Force is kept for the next cycle.
    for (const QString& gateway : {u"0"_s, QString(), u"gw/update"_s, u"http://"_s}) {
        r.model.GatewayURL = gateway;
        r.model.Force = 1;
        r.wb_setip.clearNavigations();
        r.updates.UpdateIP();
        EXPECT_TRUE(r.wb_setip.navigations().isEmpty()) << gateway.toStdString();
        EXPECT_EQ(r.model.Force, 1);
        EXPECT_TRUE(r.log.text().endsWith(u"\" is not a web address; it comes with the service's version page.\r\n"_s));
    }
}

TEST(UpdateExchangeTest, AnswersAreReportedAndOnlyAnswersRecordTheAddress)
{
    const QString refused = ErrorPage::text(ErrorPage::Reason::Refused);
    const QString timedOut = ErrorPage::text(ErrorPage::Reason::TimedOut);
    const std::tuple<QStringList, QString, PageRequester::Outcome, int, QString, bool> rows[] = {
        {{u"A"_s, u"B"_s},
         u"0=A updated\r\n1=B failed"_s,
         Answered,
         200,
         u"Some of the selected domains were updated."_s,
         true},
        {{u"A"_s, u"B"_s},
         u"0=A updated\r\n0=B updated"_s,
         Answered,
         200,
         u"All selected domains were updated."_s,
         true},
        {{u"A"_s, u"B"_s},
         u"1=A failed\r\n1=B failed"_s,
         Answered,
         200,
         u"None of the selected domains were updated."_s,
         true},
        {{u"h"_s}, u"0=h updated"_s, Answered, 200, u"Updated: h"_s, true},
        // The gateway answered, so the address counts as sent even though it refused.
        {{u"h"_s}, u"1=h not updated"_s, ClientError, 401, u"Not Updated: h"_s, true},
        {{u"h"_s}, refused, Failed, 0, u"Not Updated: h"_s, false},
        {{u"h"_s}, timedOut, Failed, 0, u"Not Updated: h"_s, false},
        // A gateway that broke, or never got to the request, updated nothing, whatever its page says.
        {{u"h"_s}, u"Internal Server Error"_s, ServerError, 500, u"Not Updated: h"_s, false},
        {{u"A"_s, u"B"_s}, u"0=A updated"_s, ServerError, 502, u"None of the selected domains were updated."_s, false},
        {{u"h"_s}, u"Too Many Requests"_s, ClientError, 429, u"Not Updated: h"_s, false},
        {{u"h"_s}, u"0=Request Timeout"_s, ClientError, 408, u"Not Updated: h"_s, false},
    };
    for (const auto& [hosts, answer, outcome, status, result, recorded] : rows) {
        SCOPED_TRACE(answer.toStdString());
        Rig r;
        r.writeAccount(hosts);
        r.model.Force = 1;
        r.updates.UpdateIP();
        const qsizetype before = r.log.text().size();
        r.wb_setip.completeWith(answer, outcome, {status, {}});
        EXPECT_EQ(r.log.text().mid(before), r.line(result) + u"\t>> "_s + answer + u"\r\n"_s +
                                                (recorded ? r.line(u"Completed updating."_s) : QString()));
        EXPECT_EQ(r.form.response, answer + u"\r\n"_s);
        EXPECT_EQ(r.model.LastIP, recorded ? r.form.remote : QString());
        EXPECT_EQ(r.model.Force, recorded ? 0 : 1) << "a forced update stays forced until answered";
        // An address the gateway never saw goes again at the next scheduled update.
        r.wb_setip.clearNavigations();
        r.updates.UpdateIP();
        EXPECT_EQ(r.wb_setip.navigations().size(), recorded ? 0 : 1);
    }
}

TEST(UpdateExchangeTest, AnAnswerRecordsTheAddressItsRequestCarriedAndOneIsForcedEvery25Days)
{
    Rig r;
    r.updates.UpdateIP();
    r.form.remote = u"203.0.113.5"_s; // a lookup turns up a new address before the answer comes
    r.wb_setip.completeWith(u"0=mail\r\n0=ftp"_s);
    EXPECT_EQ(r.model.LastIP, u"198.51.100.9"_s);
    EXPECT_EQ(r.form.lastIP, u"198.51.100.9"_s);
    r.updates.UpdateIP();
    EXPECT_EQ(QUrlQuery(QUrl(r.wb_setip.lastNavigation())).queryItemValue(u"myip"_s), u"203.0.113.5"_s);
    r.wb_setip.completeWith(u"0=mail\r\n0=ftp"_s);

    // A record left alone for 25 days since the last forced update is forced afresh, once.
    r.model.Force = 1;
    r.updates.UpdateIP();
    r.wb_setip.completeWith(u"0=mail\r\n0=ftp"_s);
    r.wb_setip.clearNavigations();
    for (const qint64 days : {24, 1, 0}) {
        r.clock.advanceSeconds(days * 86400);
        r.updates.UpdateIP();
        if (r.wb_setip.hasPending()) {
            r.wb_setip.completeWith(u"0=mail\r\n0=ftp"_s);
        }
    }
    EXPECT_EQ(r.wb_setip.navigations().size(), 1);
}

TEST(RetryAfterTest, SecondsOrAnHttpDateAtMostAnHourAhead)
{
    const QDateTime now = FakeClock().now();
    const auto httpDate = [&now](qint64 seconds) {
        return QLocale::c().toString(now.addSecs(seconds).toUTC(), u"ddd, dd MMM yyyy hh:mm:ss 'GMT'"_s).toLatin1();
    };
    const std::pair<QByteArray, qint64> rows[] = {{"120", 120},
                                                  {" 7 ", 7},
                                                  {"86400", 3600},
                                                  {"123456789012345678901234", 3600},
                                                  {"0", 0},
                                                  {"", 0},
                                                  {"-5", 0},
                                                  {"soon", 0},
                                                  {httpDate(600), 600},
                                                  {httpDate(2 * 86400), 3600},
                                                  {httpDate(-600), 0}};
    for (const auto& [header, wait] : rows) {
        const auto until = RetryAfter::until(header, now);
        EXPECT_EQ(until ? now.secsTo(*until) : 0, wait) << header.toStdString();
    }
}

// A gateway that rate-limits or is down for a while is left alone as long as it asked, whatever
// falls due meanwhile; other statuses ask for no wait.
TEST(UpdateExchangeTest, NothingGoesToTheGatewayBeforeTheTimeItAskedFor)
{
    for (const auto& [status, waits] : {std::pair{429, true}, {503, true}, {500, false}}) {
        SCOPED_TRACE(status);
        Rig r;
        r.updates.UpdateIP();
        r.wb_setip.completeWith(u"Slow down"_s, status == 429 ? ClientError : ServerError, {status, "120"});
        r.clock.advanceSeconds(119);
        r.model.Force = 1;
        r.wb_setip.clearNavigations();
        r.updates.UpdateIP();
        EXPECT_EQ(r.wb_setip.navigations().size(), waits ? 0 : 1);
        if (waits) {
            EXPECT_EQ(r.form.response, u"Not updated. The update gateway asked to wait until 19:24:10; the update goes "
                                       u"at the next cycle after that."_s);
            r.clock.advanceSeconds(1);
            r.updates.UpdateIP();
            EXPECT_EQ(r.wb_setip.navigations().size(), 1);
        }
    }
}

// Under an open message box a page that completes waits for the box; one whose request was
// abandoned meanwhile never completes.
TEST(PageRequesterTest, ACompletionWaitsForTheOpenBoxAndOneOfAnAbandonedPageIsDropped)
{
    FakeDesktop desktop;
    ScriptedPageRequester wb;
    wb.setGate(&desktop.gate());
    QSignalSpy spy(&wb, &PageRequester::DocumentComplete);
    desktop.whileOpen([&] {
        wb.Navigate(u"http://a/"_s);
        wb.completeWith(u"first"_s);
        wb.Navigate(u"http://b/"_s);
        wb.completeWith(u"second"_s);
    });
    desktop.message(u"Update"_s, u"text"_s, Desktop::Icon::None, Desktop::Buttons::YesNo);
    EXPECT_TRUE(spy.isEmpty()) << "the code that opened the box finishes first";
    QTRY_COMPARE(spy.size(), 1);
    EXPECT_EQ(spy.at(0).at(1).toString(), u"second"_s);
}

// Each row runs the load sequence's loop: it asks for the page again while the update file is not
// from today and this run has not written it today, so every answer must end the loop.
TEST(VersionCheckTest, OutcomesAndTheLoadSequenceThatAsksAgain)
{
    // locked: Update.ini cannot be written
    // saved: the update file before today's date
    const std::tuple<QString, bool, const char*, bool, QString, int> rows[] = {
        {u"url=G\r\nversion=1.3\r\n"_s, false, "", false, u"G\r\n1.3\r\n"_s, 1},
        {u"url=G\r\nversion=1.3"_s, false, "", false, u"G\r\n1.3\r\n"_s, 1},
        // Any difference is offered. Declined, the file keeps
        // its old date, so the loop asks once more, and that answer is saved without a second offer.
        {u"url=G\r\nversion=1.4\r\n"_s, false, "", true, u"G\r\n1.4\r\n"_s, 2},
        // A comma in the gateway shifts the fields, so the file's date never reads as today.
        {u"url=http://gw/update,1.3\r\nversion=1.3\r\n"_s, false, "", false, u"http://gw/update,1.3\r\n1.3\r\n"_s, 1},
        {u"url=G"_s, false, "Failed to read the update configuration file.", false, {}, 1},
        {u"version=1.3\r\nurl=G"_s, false, "Please ensure you are online.", false, {}, 1},
        {ErrorPage::text(ErrorPage::Reason::TimedOut), false, "Please ensure you are online.", false, {}, 1},
        {u"Internal Server Error"_s, false, "Please ensure you are online.", false, {}, 1},
        {u"url=G\r\nversion=1.3\r\n"_s, true, "Failed to write the update configuration file.", false, {}, 1},
        {QString(), false, "", false, {}, 1},
    };
    for (const auto& [page, locked, fatal, offered, saved, rounds] : rows) {
        SCOPED_TRACE(page.toStdString() + (locked ? " (locked)" : ""));
        Rig r;
        ASSERT_TRUE(!locked || QDir(r.dir.path()).mkdir(u"Update.ini"_s));
        QObject::connect(&r.check, &VersionCheck::reloadRequested, &r.check, [&r] {
            const QString today = r.clock.todayText();
            r.model.LastUpdate = UpdateFile::read(r.model.ConfigPath).value_or(UpdateSettings{}).lastCheckDate;
            if (r.model.LastUpdate != today && !r.check.hasWrittenUpdateFileOn(today)) {
                r.check.requestVersionPage();
            }
        });
        if (offered) {
            r.desktop.queueAnswer(Desktop::Answer::No);
        }
        r.check.requestVersionPage();
        int asked = 0;
        for (; r.wb_updates.hasPending() && asked < 5; ++asked) {
            Rig::complete(r.wb_updates, page);
        }
        EXPECT_EQ(asked, rounds);
        EXPECT_TRUE(*fatal == '\0' ? r.fatal().isEmpty() : r.fatal().contains(QLatin1StringView(fatal)))
            << r.fatal().toStdString();
        EXPECT_EQ(r.desktop.messages().size() == 1 && r.desktop.lastMessage().title == u"Update"_s, offered);
        EXPECT_EQ(QString::fromUtf8(r.dir.readBytes(u"Update.ini"_s)),
                  saved.isEmpty() ? QString() : saved + u"6 Dec 2026\r\n"_s);
        EXPECT_EQ(r.log.text().contains(u" - Latest Version: "_s), offered);
    }
}

TEST(DomainHostListsTest, EveryDomainIsListedInOrderAndTheChainEndsInTheWizardOrWithTheFirstUpdate)
{
    Rig r;
    const auto chain = [&r] {
        r.lists.GetDomains();
        r.wb_domains.completeBlank();
        // Two blanks queue an empty domain, asked for with an empty value; empty hosts never show.
        // The line end a server puts after a text page makes no domain or host of its own.
        r.wb_domains.completeWith(u"0=alpha  b0=eta\r\n"_s);
        for (const QString& answer : {u"0=www  mail \r\n"_s, u"1=no hosts/subdomain"_s, u"0=f0=tp\r\n"_s}) {
            r.wb_hosts.completeBlank();
            r.wb_hosts.completeWith(answer);
        }
    };
    r.model.StartUp = 1;
    r.wizard.open = true;
    chain();
    const QStringList rows{u"domain:alpha"_s, u"host:www"_s,    u"host:mail"_s,
                           u"domain:"_s,      u"domain:beta"_s, u"host:ftp"_s};
    EXPECT_EQ(r.checklist.rows(), rows);
    EXPECT_EQ(r.wizard.list.rows(), rows);
    EXPECT_EQ(r.wizard.nextEnabled, 1);
    EXPECT_TRUE(r.wb_setip.navigations().isEmpty());

    r.wizard.open = false;
    chain();
    EXPECT_EQ(r.checklist.selectedHosts(), QStringList({u"mail"_s, u"ftp"_s}));
    EXPECT_TRUE(r.wb_setip.lastNavigation().contains(u"&force=Y&host=mail;ftp&"_s));
    EXPECT_EQ(r.model.Force, 1) << "forced until answered";

    // A refresh takes the ticks from the file again and sends nothing; "no domains" leaves all as shown.
    r.checklist.Selected(u"www"_s, true);
    chain();
    r.lists.GetDomains();
    r.wb_domains.completeWith(u"1=no domains"_s);
    EXPECT_EQ(r.checklist.selectedHosts(), QStringList({u"mail"_s, u"ftp"_s}));
    EXPECT_EQ(r.checklist.rows(), rows);
    EXPECT_EQ(r.wb_setip.navigations().size(), 1);
    EXPECT_EQ(r.chainEnded.count(), 3);
}

TEST(DomainHostListsTest, WrongAnswersAndFileFailuresEndTheProgram)
{
    // locked: a directory stands where this file is written or read
    // answers: the domains, then the hosts of each
    const std::tuple<QString, QStringList, const char*> rows[] = {
        {{}, {ErrorPage::text(ErrorPage::Reason::Refused)}, "error retrieving the domains"},
        {{}, {u"Internal Server Error"_s}, "error retrieving the domains"},
        {{}, {u"0=alpha beta"_s, u"2=Invalid login 0=www"_s}, "error retrieving the hosts"},
        {{}, {u"0=alpha"_s, ErrorPage::text(ErrorPage::Reason::TimedOut)}, "error retrieving the hosts"},
        {u"domains.tmp"_s, {u"0=alpha"_s}, "Failed to write temporary file"},
        {u"Account.ini"_s, {u"0=alpha"_s, u"0=www"_s}, "Failed to read account configuration file"},
    };
    for (const auto& [locked, answers, fatal] : rows) {
        SCOPED_TRACE(answers.join(u" | "_s).toStdString());
        Rig r;
        r.model.StartUp = 1;
        QFile::remove(r.dir.filePath(locked));
        ASSERT_TRUE(locked.isEmpty() || QDir(r.dir.path()).mkdir(locked));
        r.lists.GetDomains();
        Rig::complete(r.wb_domains, answers.constFirst());
        for (const QString& answer : answers.mid(1)) {
            Rig::complete(r.wb_hosts, answer);
        }
        EXPECT_TRUE(r.fatal().contains(QLatin1StringView(fatal))) << r.fatal().toStdString();
        EXPECT_EQ(r.desktop.ending(), Desktop::Ending::Failure);
        EXPECT_EQ(r.wb_hosts.navigations().size(), answers.size() - 1);
        EXPECT_TRUE(r.wb_setip.navigations().isEmpty());
    }
}

} // namespace
