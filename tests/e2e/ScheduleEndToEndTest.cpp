#include "EndToEndFixture.h"

#include <QElapsedTimer>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using ScheduleEndToEnd = EndToEndFixture;

// With an interval of one minute a scheduled cycle is a lookup a minute after the last one's
// update and the update 24 s after its lookup: 84 s from one cycle to the next.
constexpr int cycleMs = 84000;
constexpr int lookupToUpdateMs = 24000;
constexpr int slackMs = 8000;

} // namespace

// One unchanged cycle, then one after the simulated public address has changed: only the second
// sends, at its update phase, with the new address.
TEST_F(ScheduleEndToEnd, ChangedPublicAddressIsSentByTheNextScheduledCycleAndAnUnchangedCycleSendsNothing)
{
    ASSERT_TRUE(sim.control(u"/control/public-ip?value=198.51.100.10"_s));
    seedFiles(1, "demo\r\ndemo123\r\nwww.example.com\r\n");
    ASSERT_TRUE(quorvex.start()) << quorvex.errorString().toStdString();
    ASSERT_TRUE(waitFor([&] { return gatewayRequests().size() == 1; }, 20000)) << context();
    ASSERT_TRUE(gatewayRequests().constFirst().contains(u"&myip=198.51.100.10&"_s)) << context();
    const auto lookups = [&] { return requestsTo(u"/whatismyip"_s).size(); };
    ASSERT_EQ(lookups(), 1) << context();

    // The first scheduled cycle, with the address as it was.
    ASSERT_TRUE(waitFor([&] { return lookups() == 2; }, cycleMs + slackMs)) << context();
    QTest::qWait(lookupToUpdateMs + slackMs / 2);
    EXPECT_EQ(gatewayRequests().size(), 1) << "an unchanged cycle sent an update" << context();
    EXPECT_EQ(requests().size(), 8) << "a cycle asks for one locator page and nothing else" << context();

    ASSERT_TRUE(sim.control(u"/control/public-ip?value=198.51.100.99"_s));
    ASSERT_TRUE(waitFor([&] { return lookups() == 3; }, cycleMs + slackMs)) << context();
    QElapsedTimer sinceLookup;
    sinceLookup.start();
    EXPECT_EQ(gatewayRequests().size(), 1) << "the change was sent before the next cycle" << context();

    ASSERT_TRUE(waitFor([&] { return gatewayRequests().size() == 2; }, lookupToUpdateMs + slackMs)) << context();
    // Sent by the update phase, not straight after the lookup.
    EXPECT_GE(sinceLookup.elapsed(), lookupToUpdateMs - slackMs / 2);
    EXPECT_TRUE(gatewayRequests().constLast().startsWith(
        u"GET /dyn/update?login=demo&password=demo123&force=Y&host=www.example.com&myip=198.51.100.99&unique="_s))
        << context();
    EXPECT_EQ(requestsTo(u"/whatismyip"_s).size(), 3) << context();
    EXPECT_TRUE(records().value(u"www.example.com"_s).startsWith(u"198.51.100.99\t"_s));
    EXPECT_TRUE(quorvex.isRunning()) << context();
}
