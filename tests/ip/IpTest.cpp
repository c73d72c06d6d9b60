#include "AccountFile.h"
#include "ErrorPage.h"
#include "EventLog.h"
#include "KeepAlivePing.h"
#include "NetworkChangeUpdate.h"
#include "RouterAddressLookup.h"
#include "SettingsModel.h"
#include "UpdateExchange.h"
#include "UpdateScheduler.h"
#include "support/FakeClock.h"
#include "support/FakeMachineAddress.h"
#include "support/FakeMainForm.h"
#include "support/FakeNetworkWatch.h"
#include "support/ScriptedPageRequester.h"
#include "support/TemporaryAppDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <tuple>
#include <vector>

using namespace Qt::StringLiterals;
using Outcome = PageRequester::Outcome;

namespace {

// One lookup, keep-alive and scheduler over their own page requesters, as the main window wires
// them; the scheduler drives the real update exchange, and its lookup phase finds `lookedUp`.
class Ip : public ::testing::Test
{
protected:
    Ip()
    {
        EXPECT_TRUE(AccountFile::write(dir.path(), u"user"_s, u"pass"_s, {u"www.example.com"_s}));
        model.ConfigPath = dir.path();
        model.GatewayURL = u"http://gw.example/update"_s;
        form.locatorList = {u"one"_s, u"two"_s, u"three"_s};
        form.remote = u"198.51.100.4"_s;
    }

    // Ticks until the scheduler's next phase, which always turns the timer from one period to the
    // other; returns how many ticks it took.
    int ticksToPhase()
    {
        const int before = scheduler.timer().interval();
        for (int n = 1; n <= 40000; ++n) {
            scheduler.tick();
            if (scheduler.timer().interval() != before) {
                return n;
            }
        }
        return -1;
    }

    // The ticks (counted from 1) among the next n that pinged.
    std::vector<int> pingTicks(int n)
    {
        std::vector<int> ticks;
        for (int i = 1; i <= n; ++i) {
            const qsizetype before = wb_keepalive.navigations().size();
            ping.tick();
            if (wb_keepalive.navigations().size() != before) {
                ticks.push_back(i);
            }
        }
        return ticks;
    }

    // How a page goes wrong, as an exchange sees it: a failed completion (at once or at the
    // time-out, both bring an error page), an answer with an error status, a page with no address.
    const std::vector<std::pair<QString, Outcome>> faults{
        {ErrorPage::text(ErrorPage::Reason::Refused), Outcome::Failed},
        {ErrorPage::text(ErrorPage::Reason::TimedOut), Outcome::Failed},
        {u"Internal Server Error"_s, Outcome::ServerError},
        // A web server's error page names its own address in the footer, not the caller's.
        {u"Not Found\r\nApache/2.4.57 (Debian) Server at 10.0.0.5 Port 80"_s, Outcome::ClientError},
        {u"Try again at 1.2.3"_s, Outcome::Answered}};
    TemporaryAppDirectory dir;
    FakeClock clock;
    EventLog log{clock};
    SettingsModel model;
    FakeMainForm form;
    ScriptedPageRequester wb_external, wb_keepalive, wb_setip;
    RouterAddressLookup lookup{wb_external, form, log, clock};
    QString pingBox = u"5"_s;
    KeepAlivePing ping{wb_keepalive, model, log, clock, u"127.0.0.1:8780/keepalive"_s, [this] { return pingBox; }};
    UpdateExchange exchange{wb_setip, model, form, log, clock};
    QString lookedUp;
    UpdateScheduler scheduler{model, form, [this] { form.remote = lookedUp; }, [this] { exchange.UpdateIP(); }};
};

TEST_F(Ip, LookupMovesOnPastAFailedPageAndTakesTheFirstAddressShown)
{
    for (const auto& [text, outcome] : faults) {
        SCOPED_TRACE(text.toStdString());
        lookup.GetRemoteIP();
        wb_external.completeWith(text, outcome);
        EXPECT_EQ(wb_external.lastNavigation(), u"two"_s);
        wb_external.completeWith(u"Your IP is 203.0.113.7 (and 10.0.0.1 behind it)"_s);
        EXPECT_EQ(form.remote, u"203.0.113.7"_s);
        EXPECT_FALSE(wb_external.hasPending()) << "the third locator is not asked";
        form.remote.clear();
    }
    EXPECT_TRUE(form.response.isEmpty() && log.text().isEmpty()) << "nothing reported";
}

// A sign-in page, a router's own page or a locator behind carrier-grade NAT names an address that
// cannot be the public one: the next locator is asked, and the log says why. Documentation
// ranges, the edges of each range and digit groups without a range check stay usable.
TEST_F(Ip, LookupPassesOverAddressesThatCannotBePublic)
{
    const QString priv = u"a private address"_s;
    const std::pair<QString, QString> rows[] = {
        {u"192.168.100.1"_s, priv},
        {u"10.255.0.1"_s, priv},
        {u"172.31.255.255"_s, priv},
        {u"100.64.0.1"_s, u"a shared (carrier-grade NAT) address"_s},
        {u"127.0.0.1"_s, u"a loopback address"_s},
        {u"169.254.10.1"_s, u"a link-local address"_s},
        {u"0.1.2.3"_s, u"a \"this network\" address"_s},
        {u"224.0.0.251"_s, u"a multicast address"_s},
        {u"255.255.255.255"_s, u"a reserved address"_s},
        {u"192.0.2.1"_s, {}},
        {u"198.51.100.1"_s, {}},
        {u"100.63.255.255"_s, {}},
        {u"100.128.0.0"_s, {}},
        {u"172.15.255.255"_s, {}},
        {u"172.32.0.0"_s, {}},
        {u"223.255.255.255"_s, {}},
        {u"300.1.2.3"_s, {}},
    };
    for (const auto& [address, kind] : rows) {
        SCOPED_TRACE(address.toStdString());
        const qsizetype before = log.text().size();
        lookup.GetRemoteIP();
        wb_external.completeWith(u"Sign in: open http://"_s + address + u"/login to continue"_s);
        if (kind.isEmpty()) {
            EXPECT_EQ(form.remote, address);
            continue;
        }
        EXPECT_EQ(log.text().mid(before), clock.NowText() + u" - IP locator \"one\" named "_s + address + u", "_s +
                                              kind + u", which cannot be the public one; it was not used.\r\n"_s);
        wb_external.completeWith(u"Your IP is 203.0.113.7"_s);
        EXPECT_EQ(form.remote, u"203.0.113.7"_s);
    }
}

TEST_F(Ip, LookupReportsOnceWhenEveryLocatorFailed)
{
    lookup.GetRemoteIP();
    wb_external.completeBlank(); // the blank page loaded as the window opens is no locator's
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(log.text().isEmpty()) << "reported before the last locator";
        wb_external.completeWith(faults.at(i).first, faults.at(i).second);
    }
    EXPECT_EQ(wb_external.navigations(), (QStringList{u"one"_s, u"two"_s, u"three"_s}));
    EXPECT_EQ(form.response, RouterAddressLookup::failureMessage());
    EXPECT_EQ(form.last, clock.NowText() + u"   -   Network failure"_s);
    EXPECT_EQ(log.text(), clock.NowText() + u" - "_s + RouterAddressLookup::failureMessage() + u"\r\n"_s);
    EXPECT_EQ(form.remote, u"198.51.100.4"_s) << "the address found before stays";
}

TEST_F(Ip, KeepAlivePingsEveryPeriodReadFromTheBoxAndIgnoresWhatComesBack)
{
    model.PingInterval = 5;
    EXPECT_EQ(pingTicks(10), (std::vector<int>{5, 10}));
    EXPECT_EQ(wb_keepalive.lastNavigation(), u"127.0.0.1:8780/keepalive?19%3A22%3A10"_s);
    for (const auto& [text, outcome] : faults) {
        wb_keepalive.completeWith(text, outcome);
    }
    EXPECT_EQ(log.text(), QString(clock.NowText() + u" - PING Connection Keep-Alive\r\n"_s).repeated(2));
    pingBox = u"2"_s; // edited, not applied: read at the next ping
    EXPECT_EQ(pingTicks(9), (std::vector<int>{5, 7, 9}));

    model.PingInterval = 0; // no period: the countdown stops at its floor instead of wrapping round to a ping
    EXPECT_TRUE(pingTicks(70000).empty());
    EXPECT_EQ(model.PingInterval, std::numeric_limits<qint16>::min());
}

TEST_F(Ip, SchedulerLooksUpWhenTheCountdownEndsAndUpdatesOneShortWaitLater)
{
    ASSERT_EQ(ticksToPhase(), 1) << "the first tick after the start looks up at once";
    // The boxes, and the interval in force after the update that reads them.
    const std::tuple<const char*, const char*, int> rows[] = {{"0", "5", 5},      {"1", "30", 90}, {"0", "0", 0},
                                                              {"0.5", "2.5", 32}, {"x", "5", 32},  {"546", "8", 32}};
    for (const auto& [hours, minutes, interval] : rows) {
        SCOPED_TRACE(std::string(hours) + " h " + minutes + " min");
        form.hours = QString::fromLatin1(hours);
        form.minutes = QString::fromLatin1(minutes);
        EXPECT_EQ(scheduler.timer().interval(), 24000) << "the lookup's short wait";
        EXPECT_EQ(ticksToPhase(), 1) << "the update";
        EXPECT_EQ(scheduler.timer().interval(), 60000);
        EXPECT_EQ(model.Interval, interval);
        EXPECT_EQ(ticksToPhase(), std::max(interval, 1)) << "the next lookup";
    }
}

TEST_F(Ip, SchedulerSendsAChangedAddressOnlyAndAForcedUpdateOnce)
{
    const auto cycle = [this](const QString& address) {
        lookedUp = address;
        ticksToPhase();
        ticksToPhase();
        return wb_setip.navigations().size();
    };
    ASSERT_EQ(cycle(u"203.0.113.7"_s), 1);
    EXPECT_TRUE(wb_setip.lastNavigation().contains(u"&myip=203.0.113.7&"_s));
    wb_setip.completeWith(u"0=www.example.com updated"_s);
    EXPECT_EQ(cycle(u"203.0.113.7"_s), 1) << "an unchanged address is not sent";
    scheduler.ForceUpdate();
    EXPECT_EQ(wb_setip.navigations().size(), 2) << "a forced update sends it all the same";
    wb_setip.completeWith(u"0=www.example.com updated"_s);
    EXPECT_EQ(cycle(u"203.0.113.7"_s), 2) << "the next scheduled update is not forced";
    EXPECT_EQ(cycle(u"203.0.113.9"_s), 3);
    EXPECT_TRUE(wb_setip.lastNavigation().contains(u"&myip=203.0.113.9&"_s));
}

TEST_F(Ip, SchedulerCountersStopAtTheirSixteenBitEnds)
{
    model.Interval = 100;
    model.MinuteCounter = std::numeric_limits<qint16>::max();
    scheduler.tick();
    EXPECT_EQ(model.MinuteCounter, std::numeric_limits<qint16>::max());
    EXPECT_EQ(form.next, u"1 Hours 39 Minutes"_s) << "the label follows the countdown";
    EXPECT_EQ(scheduler.timer().interval(), 60000);
    model.Interval = std::numeric_limits<qint16>::min();
    scheduler.tick();
    EXPECT_EQ(model.Interval, std::numeric_limits<qint16>::min());
    EXPECT_EQ(scheduler.timer().interval(), 24000) << "a lookup, not a wrap round to a 32767-minute wait";
}

// A change of the network, followed over 30 s in steps of a tenth of a second (times below are
// in tenths): when lookups start, and whether the update goes. The countdown never moves.
TEST_F(Ip, NetworkChangeLooksUpOnceSettledAndSendsOnlyANewAddress)
{
    struct Row
    {
        const char* what;
        std::vector<int> changes;
        std::vector<int> lookups;
        int updates = 1;
        QString found = u"203.0.113.9"_s; // what the locator, or the machine, shows after the change
        int answerAfter = 0;              // the locator's time to answer
        bool machineSource = false;
        int onlineFrom = 0;
        int activeFrom = 0;
    };
    std::vector<int> flaps;
    for (int t = 0; t < 100; ++t) {
        flaps.push_back(t);
    }
    const Row rows[] = {
        {"one change, settled a second later", {0}, {10}},
        {"a burst 0.5 s apart is one change", {0, 5, 10}, {20}},
        {"an unchanged address is not sent", {0}, {10}, 0, u"203.0.113.7"_s},
        {"the machine's address, at once", {0}, {10}, 1, u"192.0.2.77"_s, 0, true},
        {"a second change within 10 s waits for them", {0, 30}, {10, 110}},
        {"100 flaps in 10 s", flaps, {100}},
        {"a change during a lookup makes one more after it", {0, 30}, {10, 110}, 1, u"203.0.113.9"_s, 50},
        {"no route: it waits for the change that brings it back", {0, 50}, {60}, 1, u"203.0.113.9"_s, 0, false, 40},
        {"before the start's update is answered it waits", {0}, {50}, 1, u"203.0.113.9"_s, 0, false, 0, 50},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        FakeNetworkWatch watch;
        FakeMachineAddress machine;
        NetworkChangeUpdate follower({watch, lookup, scheduler, model, form, machine, log, clock});
        form.useRouter = !row.machineSource;
        form.remote = u"203.0.113.7"_s;
        form.machine = u"203.0.113.7"_s;
        model.LastIP = u"203.0.113.7"_s;
        machine.setLocalAddress(row.machineSource ? row.found : u"203.0.113.7"_s);
        scheduler.switchOn();
        const auto countdown = std::tuple(model.Interval, model.MinuteCounter, model.TakeTurn, scheduler.timer().interval());
        const qsizetype updatesBefore = wb_setip.navigations().size();
        const QDateTime start = clock.now();
        const qsizetype asksBefore = wb_external.navigations().size();
        const auto lookupsSoFar = [this] { return log.text().count(u"The network changed; looking up the address."_s); };
        const qsizetype lookupsBefore = lookupsSoFar();
        const qsizetype logBefore = log.text().size();
        std::vector<int> lookups;
        int askedAt = -1;
        for (int t = 0; t < 300; ++t) {
            const qsizetype before = lookupsSoFar();
            clock.setNow(start.addMSecs(qint64{100} * t));
            watch.online = t >= row.onlineFrom;
            if (t == row.activeFrom) {
                follower.setActive(true);
            }
            if (std::find(row.changes.begin(), row.changes.end(), t) != row.changes.end()) {
                watch.reportChange();
            }
            if (follower.timer().isActive()) {
                follower.wake();
            }
            if (askedAt < 0 && wb_external.hasPending()) {
                askedAt = t;
            }
            if (askedAt >= 0 && t >= askedAt + row.answerAfter) {
                wb_external.completeWith(u"Your IP is "_s + row.found);
                askedAt = -1;
            }
            if (wb_setip.hasPending()) {
                wb_setip.completeWith(u"0=www.example.com updated"_s);
            }
            if (lookupsSoFar() != before) {
                lookups.push_back(t);
            }
        }
        EXPECT_EQ(lookups, row.lookups);
        EXPECT_EQ(wb_external.navigations().size() - asksBefore,
                  row.machineSource ? 0 : lookupsSoFar() - lookupsBefore)
            << "one locator request a lookup, none for the machine's address";
        EXPECT_EQ(wb_setip.navigations().size() - updatesBefore, row.updates) << "the second lookup finds it sent";
        if (row.updates > 0) {
            EXPECT_TRUE(wb_setip.lastNavigation().contains(u"&myip="_s + row.found + u'&'));
        }
        EXPECT_EQ(std::tuple(model.Interval, model.MinuteCounter, model.TakeTurn, scheduler.timer().interval()),
                  countdown)
            << "the countdown is not touched";
        EXPECT_FALSE(log.text().mid(logBefore).contains(u"IP had not changed"_s)) << "an unchanged address goes unsaid";
    }
}

} // namespace
