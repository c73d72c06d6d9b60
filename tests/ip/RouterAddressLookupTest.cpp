#include "RouterAddressLookup.h"

#include "ErrorPage.h"
#include "EventLog.h"
#include "support/FakeClock.h"
#include "support/FakeMainForm.h"
#include "support/ScriptedPageRequester.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class RouterAddressLookupTest : public ::testing::Test
{
protected:
    RouterAddressLookupTest()
    {
        form.locatorList = {u"127.0.0.1:8780/whatismyip"_s, u"127.0.0.1:8780/echo1"_s, u"echo2.example"_s,
                            u"echo3.example"_s};
        form.remote = u"198.51.100.4"_s; // found by an earlier lookup
    }

    QString failureLine() const
    {
        return clock.nowText() + u" - "_s + RouterAddressLookup::failureMessage() + u"\r\n"_s;
    }

    FakeClock clock;
    EventLog log{clock};
    FakeMainForm form;
    ScriptedPageRequester wb_external;
    RouterAddressLookup lookup{wb_external, form, log, clock};
    QSignalSpy found{&lookup, &RouterAddressLookup::addressFound};
};

TEST_F(RouterAddressLookupTest, TriesLocatorsInOrderUntilOneShowsAnAddress)
{
    lookup.GetRemoteIP();
    EXPECT_EQ(wb_external.navigations(), QStringList{u"127.0.0.1:8780/whatismyip"_s}); // unchanged, no scheme
    EXPECT_EQ(lookup.queue(), form.locatorList);

    wb_external.completeWith(u"Service temporarily unavailable"_s);
    EXPECT_EQ(wb_external.lastNavigation(), u"127.0.0.1:8780/echo1"_s);
    wb_external.completeWith(ErrorPage::text(ErrorPage::Reason::Refused), PageRequester::Outcome::Failed);
    EXPECT_EQ(wb_external.lastNavigation(), u"echo2.example"_s);
    EXPECT_EQ(form.remote, u"198.51.100.4"_s);

    wb_external.completeWith(u"Your IP is 203.0.113.7 (and 10.0.0.1 behind it)"_s);
    EXPECT_EQ(form.remote, u"203.0.113.7"_s);
    EXPECT_EQ(lookup.GetIP(u"any site"_s), u"203.0.113.7"_s);
    ASSERT_EQ(found.count(), 1);
    EXPECT_EQ(found.at(0).at(0).toString(), u"203.0.113.7"_s);
    EXPECT_EQ(wb_external.navigations().size(), 3); // the fourth is never requested
    EXPECT_FALSE(wb_external.hasPending());
    EXPECT_TRUE(form.response.isEmpty());
    EXPECT_EQ(form.last, u"Not Updated"_s);
    EXPECT_TRUE(log.text().isEmpty()); // success is not logged
}

TEST_F(RouterAddressLookupTest, ReportsOnceWhenEveryLocatorFails)
{
    lookup.GetRemoteIP();
    for (int i = 0; i < 3; ++i) {
        wb_external.completeWith(u"no address on 1.2.3"_s);
        EXPECT_TRUE(form.response.isEmpty()) << "reported before the last locator, after page " << i + 1;
        EXPECT_TRUE(log.text().isEmpty());
    }
    wb_external.completeWith(u"still nothing"_s);

    EXPECT_EQ(form.response, u"Fail to find remote IP. Connection to network could have lost."_s);
    EXPECT_EQ(form.last, clock.nowText() + u"   -   Network failure"_s);
    EXPECT_EQ(log.text(), failureLine());
    EXPECT_EQ(form.remote, u"198.51.100.4"_s);
    EXPECT_EQ(found.count(), 0);
    EXPECT_EQ(wb_external.navigations().size(), 4);
    EXPECT_FALSE(wb_external.hasPending());
    EXPECT_TRUE(lookup.queue().isEmpty());
}

TEST_F(RouterAddressLookupTest, BlankPageChangesNothing)
{
    wb_external.completeBlank(); // the blank page loaded when the window opens
    EXPECT_EQ(form.remote, u"198.51.100.4"_s);
    EXPECT_TRUE(form.response.isEmpty() && log.text().isEmpty());

    lookup.GetRemoteIP();
    wb_external.completeBlank();
    EXPECT_EQ(lookup.queue(), form.locatorList);
    EXPECT_EQ(wb_external.navigations().size(), 1);
    EXPECT_EQ(form.remote, u"198.51.100.4"_s);
    EXPECT_TRUE(form.response.isEmpty() && log.text().isEmpty());
}

TEST_F(RouterAddressLookupTest, NewLookupWhileLoadingStartsFromTheTop)
{
    lookup.GetRemoteIP();
    wb_external.completeWith(u"nothing"_s); // now loading the second locator
    form.locatorList = {u"a.example"_s, u"b.example"_s};
    lookup.GetRemoteIP();
    EXPECT_EQ(lookup.queue(), form.locatorList);
    EXPECT_EQ(wb_external.lastNavigation(), u"a.example"_s);

    wb_external.completeWith(u"nothing"_s);
    EXPECT_EQ(wb_external.lastNavigation(), u"b.example"_s);
    wb_external.completeWith(u"nothing"_s);
    EXPECT_EQ(log.text(), failureLine()); // the new list used up, not the old one
}

TEST_F(RouterAddressLookupTest, NoLocatorsReportsAtOnceWithoutRequesting)
{
    lookup.GetRemoteIP(); // a page left loading from a lookup with locators
    form.locatorList.clear();
    lookup.GetRemoteIP();
    EXPECT_EQ(wb_external.navigations().size(), 1);
    EXPECT_EQ(form.response, RouterAddressLookup::failureMessage());
    EXPECT_EQ(form.last, clock.nowText() + u"   -   Network failure"_s);
    EXPECT_EQ(log.text(), failureLine());
    EXPECT_EQ(form.remote, u"198.51.100.4"_s);

    // The abandoned page arriving late belongs to no lookup.
    wb_external.completeWith(u"Your IP is 203.0.113.7"_s);
    wb_external.completeWith(u"nothing"_s);
    EXPECT_EQ(form.remote, u"198.51.100.4"_s);
    EXPECT_EQ(log.text(), failureLine());
    EXPECT_EQ(found.count(), 0);
}

} // namespace
