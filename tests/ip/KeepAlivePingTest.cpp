#include "KeepAlivePing.h"

#include "EventLog.h"
#include "SettingsModel.h"
#include "support/FakeClock.h"
#include "support/QtPrinters.h"
#include "support/ScriptedPageRequester.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

class KeepAlivePingTest : public ::testing::Test
{
protected:
    // Runs n ticks and returns the numbers (counted from 1) of the ticks that pinged.
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

    qsizetype logLines() const { return log.text().count(u"\r\n"_s); }

    FakeClock clock;
    EventLog log{clock};
    SettingsModel model;
    ScriptedPageRequester wb_keepalive;
    QString txtPing = u"5"_s;
    KeepAlivePing ping{wb_keepalive, model, log, clock, u"127.0.0.1:8780/keepalive"_s, [this] { return txtPing; }};
};

TEST_F(KeepAlivePingTest, PeriodFivePingsEveryFifthTickWithOneLogLineAndTheTimeAsQuery)
{
    model.PingInterval = 5;
    EXPECT_EQ(pingTicks(20), (std::vector<int>{5, 10, 15, 20}));
    ASSERT_EQ(wb_keepalive.navigations().size(), 4);
    EXPECT_EQ(wb_keepalive.navigations().first(), u"127.0.0.1:8780/keepalive?19%3A22%3A10"_s);
    const QString line = u"6 Dec 2026 19:22:10 - PING Connection Keep-Alive\r\n"_s;
    EXPECT_EQ(log.text(), line.repeated(4));
    EXPECT_EQ(model.PingInterval, 5) << "a ping reloads the countdown from the box";
}

TEST_F(KeepAlivePingTest, ThePeriodInTheBoxIsReadAtEachPing)
{
    model.PingInterval = 5;
    EXPECT_EQ(pingTicks(5), std::vector<int>{5});
    txtPing = u"2"_s; // edited, not applied
    EXPECT_EQ(pingTicks(9), (std::vector<int>{5, 7, 9})) << "ticks counted from the first ping";
}

TEST_F(KeepAlivePingTest, ACountdownFromZeroNeverPingsAndStopsAtItsLowestValue)
{
    model.PingInterval = 0;
    // Long enough for a wrapping counter to come round to 1 and ping.
    EXPECT_TRUE(pingTicks(70000).empty());
    EXPECT_EQ(model.PingInterval, std::numeric_limits<qint16>::min());
    EXPECT_EQ(logLines(), 0);
}

TEST_F(KeepAlivePingTest, ABoxThatDoesNotReadAsA16BitNumberKeepsThePreviousPeriod)
{
    for (const QString& bad : {u"abc"_s, u""_s, u"  "_s, u"5x"_s, u"40000"_s, u"-32769"_s}) {
        SCOPED_TRACE(bad.toStdString());
        model.PingInterval = 3;
        KeepAlivePing fresh{wb_keepalive, model, log, clock, u"site"_s, [&bad] { return bad; }};
        for (int i = 0; i < 3; ++i) {
            fresh.tick();
        }
        EXPECT_EQ(model.PingInterval, 3) << "the loaded period, as none was read yet";
    }

    const qsizetype linesBefore = logLines();
    model.PingInterval = 3;
    EXPECT_EQ(pingTicks(3), std::vector<int>{3});
    txtPing = u"garbage"_s;
    EXPECT_EQ(pingTicks(10), (std::vector<int>{5, 10})) << "the period last read, 5, not the loaded 3";
    EXPECT_EQ(logLines() - linesBefore, 3) << "a ping that cannot read the box is still made and logged";
}

TEST_F(KeepAlivePingTest, TheBoxIsReadAsAWholeNumberRoundedHalfToEven)
{
    struct Case
    {
        QString text;
        qint16 period;
    };
    for (const Case& c : {Case{u"2.5"_s, 2}, Case{u"3.5"_s, 4}, Case{u" 7 "_s, 7}, Case{u"1e1"_s, 10},
                          Case{u"0.4"_s, 0}, Case{u"-3"_s, -3}, Case{u"32767"_s, 32767}}) {
        model.PingInterval = 1;
        txtPing = c.text;
        ping.tick();
        EXPECT_EQ(model.PingInterval, c.period) << c.text.toStdString();
    }
}

TEST_F(KeepAlivePingTest, PingsInTheSameSecondCarryTheSameQueryAndOthersDiffer)
{
    txtPing = u"1"_s;
    model.PingInterval = 1;
    EXPECT_EQ(pingTicks(2), (std::vector<int>{1, 2}));
    clock.advanceSeconds(1);
    ping.tick();
    ASSERT_EQ(wb_keepalive.navigations().size(), 3);
    EXPECT_EQ(wb_keepalive.navigations().at(0), wb_keepalive.navigations().at(1));
    EXPECT_EQ(wb_keepalive.navigations().at(2), u"127.0.0.1:8780/keepalive?19%3A22%3A11"_s);
}

TEST_F(KeepAlivePingTest, TheTimeIsPercentEncodedAsAQueryValue)
{
    clock.setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    model.PingInterval = 1;
    ping.tick();
    const QString time = clock.timeText();
    ASSERT_TRUE(time.contains(u' ')) << "the US long time has a blank before PM";
    EXPECT_EQ(wb_keepalive.lastNavigation(),
              u"127.0.0.1:8780/keepalive?"_s + QString(time).replace(u':', u"%3A"_s).replace(u' ', u"%20"_s));
}

} // namespace
