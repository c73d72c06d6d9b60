#include "KeepAlivePing.h"
#include "RouterAddressLookup.h"
#include "UpdateExchange.h"
#include "UpdateScheduler.h"

#include "AccountFile.h"
#include "ErrorPage.h"
#include "EventLog.h"
#include "SettingsModel.h"
#include "support/FakeClock.h"
#include "support/FakeMainForm.h"
#include "support/ScriptedPageRequester.h"
#include "support/TemporaryAppDirectory.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <tuple>
#include <vector>

using namespace Qt::StringLiterals;
using Outcome = PageRequester::Outcome;

namespace {

// How a page can go wrong, as an exchange sees it: a failed completion (at once or at the
// time-out, both bring an error page), an answer with an error status, a page with no address.
struct Fault
{
    const char* name;
    QString text;
    Outcome outcome;
};

std::vector<Fault> faults()
{
    return {{"refused", ErrorPage::text(ErrorPage::Reason::Refused), Outcome::Failed},
            {"timed out", ErrorPage::text(ErrorPage::Reason::TimedOut), Outcome::Failed},
            {"error status", u"Internal Server Error"_s, Outcome::Answered},
            {"no address", u"Service unavailable, try 1.2.3 later"_s, Outcome::Answered}};
}

class Ip : public ::testing::Test
{
protected:
    FakeClock clock;
    EventLog log{clock};
    SettingsModel model;
    FakeMainForm form;
    ScriptedPageRequester requester;
};

class Lookup : public Ip
{
protected:
    Lookup()
    {
        form.locatorList = {u"one"_s, u"two"_s, u"three"_s};
        form.remote = u"198.51.100.4"_s; // found by an earlier lookup
    }

    RouterAddressLookup lookup{requester, form, log, clock};
    QSignalSpy found{&lookup, &RouterAddressLookup::addressFound};
};

TEST_F(Lookup, MovesOnPastAFailedPageAndTakesTheFirstAddressShown)
{
    for (const Fault& fault : faults()) {
        SCOPED_TRACE(fault.name);
        lookup.GetRemoteIP();
        requester.completeWith(fault.text, fault.outcome);
        EXPECT_EQ(requester.lastNavigation(), u"two"_s);
        requester.completeWith(u"Your IP is 203.0.113.7 (and 10.0.0.1 behind it)"_s);
        EXPECT_EQ(form.remote, u"203.0.113.7"_s);
        EXPECT_FALSE(requester.hasPending()) << "the third locator is not asked";
        form.remote.clear();
    }
    EXPECT_EQ(found.count(), 4);
    EXPECT_TRUE(form.response.isEmpty() && log.text().isEmpty()) << "nothing reported";
}

TEST_F(Lookup, ReportsOnceWhenEveryLocatorFailed)
{
    const QString failureLine = clock.nowText() + u" - "_s + RouterAddressLookup::failureMessage() + u"\r\n"_s;
    lookup.GetRemoteIP();
    requester.completeBlank(); // the blank page loaded as the window opens is no locator's
    const std::vector<Fault> rows = faults();
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(log.text().isEmpty()) << "reported before the last locator";
        requester.completeWith(rows.at(i).text, rows.at(i).outcome);
    }
    EXPECT_EQ(requester.navigations(), (QStringList{u"one"_s, u"two"_s, u"three"_s}));
    EXPECT_EQ(form.response, RouterAddressLookup::failureMessage());
    EXPECT_EQ(form.last, clock.nowText() + u"   -   Network failure"_s);
    EXPECT_EQ(log.text(), failureLine);

    // A late page belongs to no lookup; with no locators the failure is reported without a request.
    requester.completeWith(u"Your IP is 203.0.113.7"_s);
    form.locatorList.clear();
    lookup.GetRemoteIP();
    EXPECT_EQ(requester.navigations().size(), 3);
    EXPECT_EQ(log.text(), failureLine.repeated(2));
    EXPECT_EQ(form.remote, u"198.51.100.4"_s) << "the address found before stays";
    EXPECT_EQ(found.count(), 0);
}

class KeepAlive : public Ip
{
protected:
    // Runs n ticks and returns the ticks (counted from 1) that pinged.
    std::vector<int> pingTicks(int n)
    {
        std::vector<int> ticks;
        for (int i = 1; i <= n; ++i) {
            const qsizetype before = requester.navigations().size();
            ping.tick();
            if (requester.navigations().size() != before) {
                ticks.push_back(i);
            }
        }
        return ticks;
    }

    QString box = u"5"_s;
    KeepAlivePing ping{requester, model, log, clock, u"127.0.0.1:8780/keepalive"_s, [this] { return box; }};
};

TEST_F(KeepAlive, PingsEveryPeriodReadFromTheBoxAndIgnoresWhatComesBack)
{
    model.PingInterval = 5;
    EXPECT_EQ(pingTicks(10), (std::vector<int>{5, 10}));
    EXPECT_EQ(requester.lastNavigation(), u"127.0.0.1:8780/keepalive?19%3A22%3A10"_s);
    for (const Fault& fault : faults()) {
        requester.completeWith(fault.text, fault.outcome);
    }
    EXPECT_EQ(log.text(), QString(clock.nowText() + u" - PING Connection Keep-Alive\r\n"_s).repeated(2));
    EXPECT_EQ(model.PingInterval, 5);
    box = u"2"_s; // edited, not applied: read at the next ping
    EXPECT_EQ(pingTicks(9), (std::vector<int>{5, 7, 9}));
    box = u"40000"_s;
    EXPECT_EQ(pingTicks(4), (std::vector<int>{2, 4})) << "a box that is no 16-bit number keeps the period";
}

TEST_F(KeepAlive, ACountdownWithNoPeriodStopsAtItsFloorInsteadOfWrappingToAPing)
{
    model.PingInterval = 0;
    EXPECT_TRUE(pingTicks(70000).empty());
    EXPECT_EQ(model.PingInterval, std::numeric_limits<qint16>::min());
}

// The scheduler with the update exchange it drives; the lookup phase finds the address given.
class Schedule : public Ip
{
protected:
    Schedule()
    {
        EXPECT_TRUE(AccountFile::write(dir.path(), u"user"_s, u"pass"_s, {u"www.example.com"_s}));
        model.ConfigPath = dir.path();
    }

    // Ticks until the next phase runs; returns how many it took.
    int ticksToPhase()
    {
        const int before = phases;
        for (int n = 1; n <= 40000; ++n) {
            scheduler.tick();
            if (phases != before) {
                return n;
            }
        }
        return -1;
    }

    void cycle(const QString& address)
    {
        lookedUp = address;
        ticksToPhase();
        ticksToPhase();
    }

    int period() const { return scheduler.timer().interval(); }
    qsizetype sent() const { return requester.navigations().size(); }

    TemporaryAppDirectory dir;
    UpdateExchange exchange{requester, model, form, log, clock};
    int phases = 0;
    QString lookedUp = u"203.0.113.7"_s;
    UpdateScheduler scheduler{model, form, [this] { ++phases, form.remote = lookedUp; },
                              [this] { ++phases, exchange.UpdateIP(); }};
};

TEST_F(Schedule, LooksUpWhenTheCountdownEndsAndUpdatesOneShortWaitLater)
{
    ASSERT_EQ(ticksToPhase(), 1) << "the first tick after the start looks up at once";
    ASSERT_EQ(ticksToPhase(), 1);
    int inForce = 5;
    // The boxes, the interval they put in force, and the label after the update.
    const std::tuple<const char*, const char*, int, const char*> rows[] = {
        {"1", "30", 90, "1 Hours 30 Minutes"},      {"0", "0", 0, "0 Hours 0 Minutes"},
        {"0.5", "2.5", 32, "0 Hours 32 Minutes"},   {"x", "5", 32, "0 Hours 32 Minutes"},
        {"546", "8", 32, "0 Hours 32 Minutes"}, // 32768 minutes
        {"546", "7", 32767, "546 Hours 7 Minutes"},
    };
    for (const auto& [hours, minutes, interval, shown] : rows) {
        SCOPED_TRACE(std::string(hours) + " h " + minutes + " min");
        form.hours = QString::fromLatin1(hours);
        form.minutes = QString::fromLatin1(minutes);
        EXPECT_EQ(ticksToPhase(), std::max(inForce, 1)) << "the lookup";
        EXPECT_EQ(period(), 24000);
        EXPECT_EQ(ticksToPhase(), 1) << "the update";
        EXPECT_EQ(period(), 60000);
        EXPECT_EQ(model.Interval, interval);
        EXPECT_EQ(form.next, QString::fromLatin1(shown));
        inForce = interval;
    }
}

TEST_F(Schedule, SendsAChangedAddressOnlyAndAForcedUpdateOnce)
{
    cycle(u"203.0.113.7"_s);
    ASSERT_EQ(sent(), 1);
    EXPECT_TRUE(requester.lastNavigation().contains(u"&myip=203.0.113.7&"_s));
    requester.completeWith(u"0=www.example.com updated"_s);
    cycle(u"203.0.113.7"_s);
    EXPECT_EQ(sent(), 1) << "an unchanged address is not sent";
    scheduler.ForceUpdate();
    EXPECT_EQ(sent(), 2) << "a forced update sends it all the same";
    requester.completeWith(u"0=www.example.com updated"_s);
    cycle(u"203.0.113.7"_s);
    EXPECT_EQ(sent(), 2) << "the next scheduled update is not forced";
    cycle(u"203.0.113.9"_s);
    EXPECT_EQ(sent(), 3);
    EXPECT_TRUE(requester.lastNavigation().contains(u"&myip=203.0.113.9&"_s));
}

TEST_F(Schedule, CountersStopAtTheirSixteenBitEnds)
{
    model.Interval = 100;
    model.MinuteCounter = std::numeric_limits<qint16>::max();
    scheduler.tick();
    EXPECT_EQ(model.MinuteCounter, std::numeric_limits<qint16>::max());
    EXPECT_EQ(phases, 0);
    model.Interval = std::numeric_limits<qint16>::min();
    scheduler.tick();
    EXPECT_EQ(model.Interval, std::numeric_limits<qint16>::min());
    EXPECT_EQ(phases, 1) << "a lookup, not a wrap round to a 32767-minute wait";
}

} // namespace
