#include "UpdateScheduler.h"

#include "SettingsModel.h"
#include "support/FakeMainForm.h"

#include <QThread>
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

class UpdateSchedulerTest : public ::testing::Test
{
protected:
    // Ticks until the next phase runs; returns how many it took.
    int ticksToPhase()
    {
        const int lookupsBefore = lookups;
        const int updatesBefore = updates;
        for (int n = 1; n <= 40000; ++n) {
            scheduler.tick();
            if (lookups != lookupsBefore || updates != updatesBefore) {
                return n;
            }
        }
        return -1;
    }

    // The first cycle (lookup at the first tick, update at the second) leaves the countdown
    // freshly set from the boxes.
    void runFirstCycle()
    {
        ASSERT_EQ(ticksToPhase(), 1);
        ASSERT_EQ(ticksToPhase(), 1);
        ASSERT_EQ(updates, 1);
    }

    int period() const { return scheduler.timer().interval(); }

    SettingsModel model;
    FakeMainForm form;
    int lookups = 0;
    int updates = 0;
    std::vector<QString> lastSeenByUpdate;
    std::vector<qint16> forceSeenByUpdate;
    UpdateScheduler scheduler{model, form, [this] { ++lookups; },
                              [this] {
                                  ++updates;
                                  lastSeenByUpdate.push_back(form.last);
                                  forceSeenByUpdate.push_back(model.Force);
                                  model.Force = 0; // as the exchange does
                              }};
};

struct Countdown
{
    const char* hours;
    const char* minutes;
    int interval;
    const char* shownAfterUpdate;
    const char* shownAfterFirstTick;
};

void PrintTo(const Countdown& c, std::ostream* os)
{
    *os << c.hours << " h " << c.minutes << " min";
}

class CountdownTest : public UpdateSchedulerTest, public ::testing::WithParamInterface<Countdown>
{
};

TEST_P(CountdownTest, LookupWhenTheCountdownReachesZeroThenUpdateAfterTheShortWait)
{
    const Countdown c = GetParam();
    form.hours = QString::fromLatin1(c.hours);
    form.minutes = QString::fromLatin1(c.minutes);
    runFirstCycle();
    EXPECT_EQ(model.Interval, c.interval);
    EXPECT_EQ(form.next, QString::fromLatin1(c.shownAfterUpdate));
    EXPECT_EQ(period(), 60000);

    for (int n = 1; n < c.interval; ++n) {
        scheduler.tick();
        ASSERT_EQ(lookups, 1) << "lookup early, at tick " << n;
        ASSERT_EQ(form.next, SettingsModel::nextUpdateText(c.interval - n));
        ASSERT_EQ(period(), 60000);
        if (n == 1) {
            EXPECT_EQ(form.next, QString::fromLatin1(c.shownAfterFirstTick));
        }
    }
    scheduler.tick(); // the N-th
    EXPECT_EQ(lookups, 2);
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(form.next, u"0 Hours 0 Minutes"_s);
    EXPECT_EQ(period(), 24000);
    EXPECT_EQ(model.TakeTurn, 1);
    EXPECT_EQ(model.MinuteCounter, 0);

    form.last = u"whatever the last update said"_s;
    scheduler.tick();
    EXPECT_EQ(lookups, 2);
    EXPECT_EQ(updates, 2);
    EXPECT_EQ(lastSeenByUpdate.back(), u"Updating ..."_s);
    EXPECT_EQ(forceSeenByUpdate.back(), 0); // a scheduled update is not forced
    EXPECT_EQ(form.next, QString::fromLatin1(c.shownAfterUpdate));
    EXPECT_EQ(model.Interval, c.interval);
    EXPECT_EQ(period(), 60000);
    EXPECT_EQ(model.TakeTurn, 0);
    EXPECT_EQ(model.MinuteCounter, 1);
}

INSTANTIATE_TEST_SUITE_P(Intervals, CountdownTest,
                         ::testing::Values(Countdown{"0", "5", 5, "0 Hours 5 Minutes", "0 Hours 4 Minutes"},
                                           Countdown{"0", "59", 59, "0 Hours 59 Minutes", "0 Hours 58 Minutes"},
                                           Countdown{"1", "0", 60, "1 Hours 0 Minutes", "0 Hours 59 Minutes"},
                                           Countdown{"1", "30", 90, "1 Hours 30 Minutes", "1 Hours 29 Minutes"},
                                           Countdown{"0.5", "2.5", 32, "0 Hours 32 Minutes", "0 Hours 31 Minutes"}),
                         [](const ::testing::TestParamInfo<Countdown>& p) {
                             return "Minutes" + std::to_string(p.param.interval);
                         });

TEST_F(UpdateSchedulerTest, FirstTickAfterStartLooksUpAtOnce)
{
    model.Interval = 5; // as loaded from the settings file
    scheduler.tick();
    EXPECT_EQ(lookups, 1);
    EXPECT_EQ(updates, 0);
    EXPECT_EQ(form.next, u"0 Hours 4 Minutes"_s);
    EXPECT_EQ(period(), 24000);
    EXPECT_EQ(model.TakeTurn, 1);
    scheduler.tick();
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(form.next, u"0 Hours 5 Minutes"_s);
}

TEST_F(UpdateSchedulerTest, IntervalZeroAlternatesLookupAndUpdate)
{
    form.hours = u"0"_s;
    form.minutes = u"0"_s;
    for (int round = 1; round <= 3; ++round) {
        scheduler.tick();
        EXPECT_EQ(lookups, round);
        EXPECT_EQ(period(), 24000);
        scheduler.tick();
        EXPECT_EQ(updates, round);
        EXPECT_EQ(period(), 60000);
        EXPECT_EQ(form.next, u"0 Hours 0 Minutes"_s);
    }
}

TEST_F(UpdateSchedulerTest, SwitchOnLeavesARunningCountdownAlone)
{
    // The window that the scheduler is given to finds the timer by name.
    const QTimer* tmrUpdate = scheduler.findChild<QTimer*>(u"tmrUpdate"_s);
    ASSERT_EQ(tmrUpdate, &scheduler.timer());
    EXPECT_FALSE(tmrUpdate->isActive());
    EXPECT_EQ(tmrUpdate->interval(), 60000);

    scheduler.switchOn();
    EXPECT_TRUE(tmrUpdate->isActive());
    QThread::msleep(300);
    scheduler.switchOn();
    EXPECT_TRUE(tmrUpdate->isActive());
    EXPECT_LE(tmrUpdate->remainingTime(), 60000 - 250);

    // Neither does a Force Update.
    scheduler.ForceUpdate();
    EXPECT_LE(tmrUpdate->remainingTime(), 60000 - 250);

    scheduler.tick(); // lookup: the short wait runs from now
    EXPECT_GT(tmrUpdate->remainingTime(), 24000 - 250);
    QThread::msleep(300);
    scheduler.switchOn();
    EXPECT_EQ(tmrUpdate->interval(), 24000);
    EXPECT_LE(tmrUpdate->remainingTime(), 24000 - 250);
}

TEST_F(UpdateSchedulerTest, ForceUpdateSendsWithoutTouchingTheCountdown)
{
    runFirstCycle();
    scheduler.tick();
    scheduler.tick();
    const SettingsModel before = model;
    scheduler.ForceUpdate();
    EXPECT_EQ(updates, 2);
    EXPECT_EQ(lookups, 1);
    EXPECT_EQ(lastSeenByUpdate.back(), u"Updating ..."_s);
    EXPECT_EQ(forceSeenByUpdate.back(), 1);
    EXPECT_EQ(model.Interval, before.Interval);
    EXPECT_EQ(model.MinuteCounter, before.MinuteCounter);
    EXPECT_EQ(model.TakeTurn, before.TakeTurn);
    EXPECT_EQ(period(), 60000);
    EXPECT_FALSE(scheduler.timer().isActive());
    EXPECT_EQ(form.next, u"0 Hours 3 Minutes"_s);
}

TEST_F(UpdateSchedulerTest, BoxesAreReadAtEachUpdatePhaseAndUnreadableOnesKeepTheInterval)
{
    runFirstCycle();
    ASSERT_EQ(model.Interval, 5);

    struct Case
    {
        QString hours;
        QString minutes;
        int expected;
    };
    const std::vector<Case> cases = {
        {u"abc"_s, u"5"_s, 5}, {u"0"_s, u"7 min"_s, 5}, {u"546"_s, u"8"_s, 5},  // 32768 minutes
        {u"0"_s, u"2"_s, 2},   {u"1e"_s, u"0"_s, 2},    {QString(), u"3"_s, 3}, // empty hours read as 0
        {u" 1 "_s, u""_s, 60}, {u"inf"_s, u"0"_s, 60},  {u"546"_s, u"7"_s, 32767},
    };
    for (const Case& c : cases) {
        form.hours = c.hours;
        form.minutes = c.minutes;
        ticksToPhase(); // lookup
        ASSERT_EQ(ticksToPhase(), 1);
        EXPECT_EQ(model.Interval, c.expected) << c.hours.toStdString() << " / " << c.minutes.toStdString();
        EXPECT_EQ(form.next, SettingsModel::nextUpdateText(c.expected));
    }
}

TEST_F(UpdateSchedulerTest, UnreadableBoxesBeforeAnyUpdateKeepTheLoadedInterval)
{
    model.Interval = 7; // loaded, then the timer is switched on
    scheduler.switchOn();
    form.hours = u"x"_s;
    runFirstCycle();
    EXPECT_EQ(model.Interval, 7);
    EXPECT_EQ(form.next, u"0 Hours 7 Minutes"_s);
}

TEST_F(UpdateSchedulerTest, CountersStopAtTheirSixteenBitEnds)
{
    model.Interval = 100;
    model.MinuteCounter = 32767;
    scheduler.tick();
    EXPECT_EQ(model.MinuteCounter, 32767);
    EXPECT_EQ(model.Interval, 99);
    EXPECT_EQ(lookups, 0);

    model.Interval = -32768;
    scheduler.tick();
    EXPECT_EQ(model.Interval, -32768);
    EXPECT_EQ(lookups, 1);
}

} // namespace
