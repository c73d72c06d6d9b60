#include "support/QuorvexBinary.h"

#include <QElapsedTimer>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

class EndToEnd : public QuorvexBinary
{
protected:
    EndToEnd() : QuorvexBinary(QStringLiteral(QUORVEX_BINARY), QUORVEX_E2E_PORT) {}

    qsizetype lookups() { return requestsTo(u"/whatismyip"_s).size(); }
    QStringList updates() { return requestsTo(u"/dyn/update"_s); }
};

using ScheduleEndToEnd = EndToEnd;
using ProcessEndToEnd = EndToEnd;

// Both phases are timed from what the simulator saw, so the latency of seeing it cancels out.
constexpr qint64 slackMs = 3000;

} // namespace

// The start forces one update. The first scheduled cycle, with the address unchanged, sends
// nothing; the next one, after the address changed, sends the new address at its update phase.
TEST_F(ScheduleEndToEnd, ChangedAddressIsSentByTheNextScheduledCycleAndAnUnchangedCycleSendsNothing)
{
    ASSERT_TRUE(sim.control(u"/control/public-ip?value=198.51.100.10"_s));
    seedFiles(1);
    ASSERT_TRUE(start()) << context();
    ASSERT_TRUE(waitFor([&] { return updates().size() == 1; }, 20000)) << context();
    ASSERT_EQ(lookups(), 1) << context();

    // The countdown started as the credentials were accepted: its first tick, a minute on, looks up.
    ASSERT_TRUE(waitFor([&] { return lookups() == 2; }, 60000 + 10000)) << context();
    QElapsedTimer sinceLookup;
    sinceLookup.start();
    QTest::qWait(slackMs); // the lookup answered before the address changes
    ASSERT_TRUE(sim.control(u"/control/public-ip?value=198.51.100.99"_s));

    // 24 s to the update phase, then a minute to the next lookup.
    ASSERT_TRUE(waitFor([&] { return lookups() == 3; }, 84000 + 2 * slackMs)) << context();
    EXPECT_NEAR(sinceLookup.restart(), 84000, slackMs);
    EXPECT_EQ(updates().size(), 1) << "the unchanged cycle sent an update" << context();
    ASSERT_TRUE(waitFor([&] { return updates().size() == 2; }, 24000 + 2 * slackMs)) << context();
    EXPECT_NEAR(sinceLookup.elapsed(), 24000, slackMs);
    EXPECT_TRUE(updates().constLast().startsWith(
        u"GET /dyn/update?login=demo&password=demo123&force=Y&host=www.example.com&myip=198.51.100.99&unique="_s))
        << context();
    EXPECT_EQ(sim.requestLog().size(), 10) << "a cycle asks for one locator page and its update only" << context();
    EXPECT_TRUE(isRunning()) << context();
}

// A refused credential check is no reason to end: the program stays, with nothing more sent.
TEST_F(ProcessEndToEnd, ValidationAnsweredWithServerErrorLeavesTheProgramRunning)
{
    ASSERT_TRUE(sim.control(u"/control/fault?path=/ipupdate/account_validate.jsp&kind=500"_s));
    seedFiles(15);
    ASSERT_TRUE(start()) << context();
    ASSERT_TRUE(waitFor([&] { return !requestsTo(u"/ipupdate/account_validate.jsp"_s).isEmpty(); }, 15000))
        << context();
    // On success the lists and the forced update would follow within a second.
    QTest::qWait(3000);
    EXPECT_TRUE(isRunning()) << context();
    EXPECT_EQ(sim.requestLog().size(), 2) << context();
}
