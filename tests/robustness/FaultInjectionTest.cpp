#include "ClosedWizard.h"
#include "CredentialCheck.h"
#include "DomainHostLists.h"
#include "ErrorPage.h"
#include "EventLog.h"
#include "EventLoopWait.h"
#include "HttpPageRequester.h"
#include "KeepAlivePing.h"
#include "MainController.h"
#include "MainWindow.h"
#include "RouterAddressLookup.h"
#include "ServiceUrls.h"
#include "SettingsModel.h"
#include "SettingsSnapshot.h"
#include "UpdateExchange.h"
#include "UpdateScheduler.h"
#include "VersionCheck.h"
#include "app/RecordingWindows.h"
#include "support/ClosedLoopbackPort.h"
#include "support/FakeClock.h"
#include "support/FakeDesktop.h"
#include "support/FakeHostChecklist.h"
#include "support/FakeMachineAddress.h"
#include "support/FakeMainForm.h"
#include "support/QtPrinters.h"
#include "support/ScriptedPageRequester.h"
#include "support/SimulatorProcess.h"
#include "support/TemporaryAppDirectory.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <gtest/gtest.h>

#include <chrono>
#include <memory>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// Every way a request can go wrong that the simulator can stage, and the one it cannot: a port
// where nobody listens.
enum class Fault { Refused, Hang, Status500, Status500Empty, Garbage, Huge, Slow, Reset };

const Fault allFaults[] = {Fault::Refused, Fault::Hang, Fault::Status500, Fault::Status500Empty,
                           Fault::Garbage, Fault::Huge, Fault::Slow,      Fault::Reset};

QString simulatorKind(Fault fault)
{
    switch (fault) {
    case Fault::Refused:
        break;
    case Fault::Hang:
        return u"hang"_s;
    case Fault::Status500:
        return u"500"_s;
    case Fault::Status500Empty:
        return u"500-empty"_s;
    case Fault::Garbage:
        return u"garbage"_s;
    case Fault::Huge:
        return u"huge"_s;
    case Fault::Slow:
        return u"slow"_s;
    case Fault::Reset:
        return u"reset"_s;
    }
    return {};
}

std::string faultName(Fault fault)
{
    switch (fault) {
    case Fault::Refused:
        return "Refused";
    case Fault::Hang:
        return "Hang";
    case Fault::Status500:
        return "Status500WithBody";
    case Fault::Status500Empty:
        return "Status500Empty";
    case Fault::Garbage:
        return "Garbage";
    case Fault::Huge:
        return "FiveMegabyteBody";
    case Fault::Slow:
        return "SlowTrickle";
    case Fault::Reset:
        return "ResetMidBody";
    }
    return "Unknown";
}

std::string faultTestName(const ::testing::TestParamInfo<Fault>& info)
{
    return faultName(info.param);
}

void PrintTo(Fault fault, std::ostream* out)
{
    *out << faultName(fault);
}

// The requester's time-out for these tests, and what a case may take beyond it.
constexpr std::chrono::milliseconds RequestTimeout = 800ms;
constexpr int MarginMs = 1500;
const QString publicAddress = u"198.51.100.44"_s;
const QString routerAddress = u"198.51.100.9"_s;

const QString domainsError = u"There was an error retrieving the domains associated with your account.\r\n"
                             u"Please ensure you are online."_s;
const QString hostsError = u"There was an error retrieving the hosts associated with the domains associated with "
                           u"your account.\r\nPlease ensure you are online."_s;
const QString versionError = u"Error checking for updates. Please ensure you are online."_s;
const QString loginFailed = u"Fail to validate your login. Either network or website is down"_s;

// The text a request with this fault completes with: the server's page for a 500 with a body,
// else the error page that stands in for no answer. Garbage fails one way or another, as the
// network layer reads the bytes.
QString expectedPage(Fault fault, const QString& actual)
{
    switch (fault) {
    case Fault::Refused:
        return ErrorPage::text(ErrorPage::Reason::Refused);
    case Fault::Hang:
    case Fault::Slow:
        return ErrorPage::text(ErrorPage::Reason::TimedOut);
    case Fault::Status500:
        return u"Internal Server Error"_s;
    case Fault::Status500Empty:
        return ErrorPage::text(ErrorPage::Reason::HttpError);
    case Fault::Garbage:
        return actual.startsWith(u"The page cannot be displayed\r\n"_s) ? actual : u"an error page"_s;
    case Fault::Huge:
        return ErrorPage::text(ErrorPage::Reason::TooLarge);
    case Fault::Reset:
        return ErrorPage::text(ErrorPage::Reason::ConnectionLost);
    }
    return {};
}

// Every exchange over real HTTP requesters against quorvex-sim, in a seeded application
// directory whose settings files must come out of every case byte for byte as they went in.
class FaultInjection : public ::testing::TestWithParam<Fault>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim.start()) << sim.errorString().toStdString();
        ASSERT_TRUE(sim.control(u"/control/public-ip?value="_s + publicAddress));
        network.setProxy(QNetworkProxy::NoProxy);
        dir.writeBytes(u"Conf.ini"_s,
                       (u"0\r\n5\r\n 0 \r\n 1 \r\n5\r\n"_s + sim.hostAndPort() + u"/echo1\r\n"_s).toUtf8());
        dir.writeBytes(u"Update.ini"_s,
                       (sim.baseUrl() + u"/dyn/update\r\n1.3\r\n"_s + clock.todayText() + u"\r\n"_s).toUtf8());
        seedAccount("demo\r\ndemo123\r\nwww.example.com\r\n");
        model.ConfigPath = dir.path();
        model.GatewayURL = sim.baseUrl() + u"/dyn/update"_s;
        form.user = u"demo"_s;
        form.pass = u"demo123"_s;
    }

    void TearDown() override
    {
        // Whatever happened, nothing more happens later: no second answer, no late message.
        const qsizetype messages = desktop.messages().size();
        const QString logText = log.text();
        EventLoopWait::runFor(100);
        EXPECT_EQ(desktop.messages().size(), messages);
        EXPECT_EQ(log.text(), logText);
        if (snapshot) {
            EXPECT_EQ(snapshot->changedFiles(), QStringList{}) << "a settings file changed";
        }
    }

    void seedAccount(const QByteArray& content)
    {
        dir.writeBytes(u"Account.ini"_s, content);
        snapshot = std::make_unique<SettingsSnapshot>(dir.path());
    }

    Fault fault() const { return GetParam(); }

    // The host:port a request for path goes to: the simulator with the fault set on that path,
    // or a port where nobody listens.
    QString hostFor(const QString& path)
    {
        if (fault() == Fault::Refused) {
            const quint16 port = ClosedLoopbackPort::pick();
            EXPECT_NE(port, 0);
            return u"127.0.0.1:"_s + QString::number(port);
        }
        EXPECT_TRUE(sim.control(u"/control/fault?path="_s + path + u"&kind="_s + simulatorKind(fault())));
        return sim.hostAndPort();
    }

    std::unique_ptr<HttpPageRequester> requester()
    {
        auto made = std::make_unique<HttpPageRequester>(network);
        made->setTimeout(RequestTimeout);
        return made;
    }

    // Starts the clock of the case; the outcome must come within the bound of its fault.
    void startClock() { m_elapsed.start(); }

    bool waitFor(const std::function<bool()>& outcome)
    {
        const bool arrived = EventLoopWait::until(outcome, static_cast<int>(RequestTimeout.count()) + MarginMs);
        m_took = m_elapsed.elapsed();
        return arrived;
    }

    // A server that never finishes answering is ended by the time-out, and only by it; every
    // other fault ends the request at once.
    void expectBoundedByTheTimeOut() const
    {
        if (fault() == Fault::Hang || fault() == Fault::Slow) {
            EXPECT_GE(m_took, RequestTimeout.count() - 50);
        } else {
            EXPECT_LT(m_took, RequestTimeout.count()) << "a failure that needs no waiting waited";
        }
        EXPECT_LT(m_took, RequestTimeout.count() + MarginMs);
    }

    void expectNoMessage() const
    {
        EXPECT_TRUE(desktop.messages().isEmpty()) << desktop.lastMessage().text.toStdString();
        EXPECT_FALSE(desktop.hasEnded());
    }

    void expectFatal(const QString& text) const
    {
        ASSERT_EQ(desktop.messages().size(), 1);
        EXPECT_EQ(desktop.lastMessage().title, u"Error"_s);
        EXPECT_EQ(desktop.lastMessage().text, text);
        EXPECT_EQ(desktop.lastMessage().icon, Desktop::Icon::Critical);
        EXPECT_EQ(desktop.endProgramCalls(), 1);
    }

    bool simulatorReceived(const QString& pathStart)
    {
        for (const QString& line : sim.requestLog()) {
            if (line.startsWith(u"GET "_s + pathStart)) {
                return true;
            }
        }
        return false;
    }

    SimulatorProcess sim;
    TemporaryAppDirectory dir;
    FakeClock clock;
    FakeDesktop desktop;
    QNetworkAccessManager network;
    EventLog log{clock};
    SettingsModel model;
    FakeMainForm form;
    std::unique_ptr<SettingsSnapshot> snapshot;

private:
    QElapsedTimer m_elapsed;
    qint64 m_took = 0;
};

} // namespace

// The credential check reads any page without "0=" on the validation URL as a refusal: the
// main window reports the failure, no box, the program goes on and lists nothing.
TEST_P(FaultInjection, Validation)
{
    const QString host = hostFor(u"/ipupdate/account_validate.jsp"_s);
    const ServiceUrls urls(host);
    RecordingWindows windows;
    ClosedWizard wizard;
    FakeMachineAddress machine;
    MainController main(MainController::Services{
        desktop, clock, machine, windows, wizard,
        [](const QString&, QObject* parent) -> PageRequester* { return new ScriptedPageRequester(parent); }, dir.path(),
        host, sim.hostAndPort() + u"/keepalive"_s, sim.hostAndPort() + u"/echo1"_s});
    main.model().ConfigPath = dir.path();
    main.window().userNameBox()->setText(u"demo"_s);
    main.window().passwordBox()->setText(u"demo123"_s);

    auto wb = requester();
    CredentialCheck check(CredentialCheck::Parts{*wb, main, windows, wizard, desktop, clock, urls}, false);
    bool finished = false;
    QObject::connect(&check, &CredentialCheck::finished, &check, [&finished] { finished = true; });
    startClock();
    check.tmr_Timer();
    ASSERT_TRUE(waitFor([&] { return finished || desktop.hasEnded(); }));

    expectBoundedByTheTimeOut();
    expectNoMessage();
    EXPECT_TRUE(finished);
    EXPECT_EQ(main.window().responseText(), loginFailed);
    EXPECT_EQ(main.window().lastText(), clock.nowText() + u"   -   Login validation failed"_s);
    EXPECT_TRUE(main.log().text().contains(u" - "_s + loginFailed + u"\r\n"_s));
    EXPECT_FALSE(main.scheduler().timer().isActive());
    EXPECT_FALSE(simulatorReceived(u"/ipupdate/domains.jsp"_s));
}

// A domain list that does not arrive is fatal, with the domains message; the checklist keeps
// what it had.
TEST_P(FaultInjection, DomainList)
{
    const ServiceUrls urls(hostFor(u"/ipupdate/domains.jsp"_s));
    auto wbDomains = requester();
    ScriptedPageRequester wbHosts;
    ScriptedPageRequester wbSetip;
    FakeHostChecklist checklist;
    ClosedWizard wizard;
    UpdateExchange updates(wbSetip, model, form, log, clock);
    DomainHostLists lists(*wbDomains, wbHosts, model, form, checklist, wizard, updates, log, desktop, clock, urls);

    startClock();
    lists.GetDomains();
    ASSERT_TRUE(waitFor([&] { return desktop.hasEnded(); }));

    expectBoundedByTheTimeOut();
    expectFatal(domainsError);
    EXPECT_EQ(checklist.clearCalls(), 0);
    EXPECT_TRUE(checklist.rows().isEmpty());
    EXPECT_TRUE(wbHosts.navigations().isEmpty());
    EXPECT_TRUE(wbSetip.navigations().isEmpty());
}

// The domains arrive (as the service sends them); the first host list does not: fatal, with the
// hosts message, after the first domain's heading.
TEST_P(FaultInjection, HostList)
{
    const ServiceUrls urls(hostFor(u"/ipupdate/hosts.jsp"_s));
    ScriptedPageRequester wbDomains;
    auto wbHosts = requester();
    ScriptedPageRequester wbSetip;
    FakeHostChecklist checklist;
    ClosedWizard wizard;
    UpdateExchange updates(wbSetip, model, form, log, clock);
    DomainHostLists lists(wbDomains, *wbHosts, model, form, checklist, wizard, updates, log, desktop, clock, urls);

    lists.GetDomains();
    startClock();
    wbDomains.completeWith(u"0=example.com example.net example.org"_s);
    ASSERT_TRUE(waitFor([&] { return desktop.hasEnded(); }));

    expectBoundedByTheTimeOut();
    expectFatal(hostsError);
    EXPECT_EQ(checklist.rows(), QStringList{u"domain:example.com"_s});
    EXPECT_EQ(lists.lstDomain().size(), 3);
    EXPECT_FALSE(log.text().contains(u"Retrieved domain list."_s));
    EXPECT_TRUE(wbSetip.navigations().isEmpty());
}

// No version page: fatal, with the version message; neither "update.tmp" nor "Update.ini" is
// written and the settings are not loaded again.
TEST_P(FaultInjection, VersionCheck)
{
    const ServiceUrls urls(hostFor(u"/ipupdate/dyndata.txt"_s));
    auto wb = requester();
    VersionCheck check(*wb, model, log, desktop, clock, urls);
    int reloads = 0;
    QObject::connect(&check, &VersionCheck::reloadRequested, &check, [&reloads] { ++reloads; });

    startClock();
    check.requestVersionPage();
    ASSERT_TRUE(waitFor([&] { return desktop.hasEnded(); }));

    expectBoundedByTheTimeOut();
    expectFatal(versionError);
    EXPECT_EQ(reloads, 0);
    EXPECT_FALSE(dir.exists(u"update.tmp"_s));
    EXPECT_TRUE(log.text().isEmpty());
}

// A locator that fails is passed over: the next one in the list gives the address, and nothing
// is reported.
TEST_P(FaultInjection, LocatorLookupFallsBackToTheNextLocator)
{
    const QString failing = hostFor(u"/echo1"_s) + u"/echo1"_s;
    form.locatorList = {failing, sim.hostAndPort() + u"/echo2"_s};
    auto wb = requester();
    RouterAddressLookup lookup(*wb, form, log, clock);
    QStringList found;
    QObject::connect(&lookup, &RouterAddressLookup::addressFound, &lookup,
                     [&found](const QString& address) { found.append(address); });

    startClock();
    lookup.GetRemoteIP();
    ASSERT_TRUE(waitFor([&] { return !found.isEmpty(); }));

    expectBoundedByTheTimeOut();
    expectNoMessage();
    EXPECT_EQ(found, QStringList{publicAddress});
    EXPECT_EQ(form.remote, publicAddress);
    EXPECT_TRUE(form.response.isEmpty());
    EXPECT_EQ(form.last, u"Not Updated"_s);
    EXPECT_TRUE(log.text().isEmpty());
    EXPECT_TRUE(lookup.queue().isEmpty());
    EXPECT_EQ(simulatorReceived(u"/echo1"_s), fault() != Fault::Refused);
}

// The update's answer is logged and shown; with no "0=" in it no host counts as updated. A
// failed request records no address, so the next cycle sends again; a 500 page is an answer,
// and an answer records the address whatever it says.
TEST_P(FaultInjection, UpdateOfOneHost)
{
    model.GatewayURL = u"http://"_s + hostFor(u"/dyn/update"_s) + u"/dyn/update"_s;
    form.remote = routerAddress;
    form.last = u"Updating ..."_s;
    model.Force = 1;
    auto wb = requester();
    UpdateExchange updates(*wb, model, form, log, clock);

    startClock();
    updates.UpdateIP();
    ASSERT_EQ(form.response, u"Update Request Sent ..."_s);
    ASSERT_TRUE(waitFor([&] { return form.response != u"Update Request Sent ..."_s; }));

    expectBoundedByTheTimeOut();
    expectNoMessage();
    EXPECT_TRUE(log.text().contains(u" - Not Updated: www.example.com\r\n"_s)) << log.text().toStdString();
    EXPECT_EQ(form.response, expectedPage(fault(), form.response.chopped(2)) + u"\r\n"_s);
    const bool answered = fault() == Fault::Status500;
    EXPECT_EQ(model.LastIP, answered ? routerAddress : QString());
    EXPECT_EQ(form.lastIP, answered ? routerAddress : u"Not Updated"_s);
    EXPECT_EQ(log.text().contains(u"Completed updating."_s), answered);
    EXPECT_EQ(model.Force, 0);

    // The service records the update only where the request reached it whole and only the
    // answer's way back was spoiled.
    const QString records = QString::fromUtf8(sim.get(u"/control/records"_s));
    const bool recorded = fault() == Fault::Slow || fault() == Fault::Reset;
    EXPECT_EQ(records.contains(u"www.example.com\t"_s + routerAddress), recorded) << records.toStdString();
}

TEST_P(FaultInjection, UpdateOfTwoHosts)
{
    seedAccount("demo\r\ndemo123\r\nwww.example.com\r\nmail.example.com\r\n");
    model.GatewayURL = u"http://"_s + hostFor(u"/dyn/update"_s) + u"/dyn/update"_s;
    form.remote = routerAddress;
    form.last = u"Updating ..."_s;
    model.Force = 1;
    auto wb = requester();
    UpdateExchange updates(*wb, model, form, log, clock);

    startClock();
    updates.UpdateIP();
    ASSERT_TRUE(waitFor([&] { return form.response != u"Update Request Sent ..."_s; }));

    expectBoundedByTheTimeOut();
    expectNoMessage();
    EXPECT_TRUE(log.text().contains(u" - None of the selected domains were updated.\r\n"_s))
        << log.text().toStdString();
    EXPECT_EQ(form.response, expectedPage(fault(), form.response.chopped(2)) + u"\r\n"_s);
    EXPECT_EQ(model.LastIP.isEmpty(), fault() != Fault::Status500);
}

// The keep-alive's answer is never looked at: whatever comes back, the log holds the ping line
// alone and the next period is set.
TEST_P(FaultInjection, KeepAlive)
{
    const QString site = hostFor(u"/keepalive"_s) + u"/keepalive"_s;
    auto wb = requester();
    model.PingInterval = 1;
    KeepAlivePing ping(*wb, model, log, clock, site, [] { return u"5"_s; });
    QList<PageRequester::Outcome> outcomes;
    QObject::connect(
        wb.get(), &PageRequester::documentComplete, wb.get(),
        [&outcomes](const QString&, const QString&, PageRequester::Outcome outcome) { outcomes.append(outcome); });

    startClock();
    ping.tick();
    ASSERT_TRUE(waitFor([&] { return !outcomes.isEmpty(); }));

    expectBoundedByTheTimeOut();
    expectNoMessage();
    EXPECT_EQ(outcomes, (QList<PageRequester::Outcome>{fault() == Fault::Status500 ? PageRequester::Outcome::Answered
                                                                                   : PageRequester::Outcome::Failed}));
    EXPECT_EQ(wb->pageText(), expectedPage(fault(), wb->pageText()));
    EXPECT_EQ(log.text(), clock.nowText() + KeepAlivePing::logEntry() + u"\r\n"_s);
    EXPECT_EQ(model.PingInterval, 5);
    EXPECT_EQ(simulatorReceived(u"/keepalive?"_s), fault() != Fault::Refused);
}

INSTANTIATE_TEST_SUITE_P(EveryFault, FaultInjection, ::testing::ValuesIn(allFaults), faultTestName);

// When every locator fails, the failure is reported once, after the last, and the address shown
// before stays.
TEST(FaultInjectionLookup, EveryLocatorFailingIsReportedOnceAfterTheLast)
{
    SimulatorProcess sim;
    ASSERT_TRUE(sim.start()) << sim.errorString().toStdString();
    ASSERT_TRUE(sim.control(u"/control/fault?path=/echo1&kind=hang"_s));
    ASSERT_TRUE(sim.control(u"/control/fault?path=/echo2&kind=garbage"_s));
    FakeClock clock;
    EventLog log(clock);
    FakeMainForm form;
    form.remote = u"192.0.2.77"_s;
    form.locatorList = {u"127.0.0.1:"_s + QString::number(ClosedLoopbackPort::pick()) + u"/echo3"_s,
                        sim.hostAndPort() + u"/echo1"_s, sim.hostAndPort() + u"/echo2"_s};
    QNetworkAccessManager network;
    network.setProxy(QNetworkProxy::NoProxy);
    HttpPageRequester wb(network);
    wb.setTimeout(RequestTimeout);
    RouterAddressLookup lookup(wb, form, log, clock);
    bool found = false;
    QObject::connect(&lookup, &RouterAddressLookup::addressFound, &lookup, [&found] { found = true; });

    QElapsedTimer elapsed;
    elapsed.start();
    lookup.GetRemoteIP();
    ASSERT_TRUE(EventLoopWait::until([&] { return !form.response.isEmpty(); },
                                     static_cast<int>(RequestTimeout.count()) + MarginMs));
    EXPECT_GE(elapsed.elapsed(), RequestTimeout.count() - 50);
    EventLoopWait::runFor(100);

    EXPECT_FALSE(found);
    EXPECT_EQ(form.response, RouterAddressLookup::failureMessage());
    EXPECT_EQ(form.last, clock.nowText() + u"   -   Network failure"_s);
    EXPECT_EQ(form.remote, u"192.0.2.77"_s);
    EXPECT_EQ(log.text(), clock.nowText() + u" - "_s + RouterAddressLookup::failureMessage() + u"\r\n"_s);
}
