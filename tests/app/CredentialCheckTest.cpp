#include "CredentialCheck.h"
#include "CheckWindow.h"
#include "MainHarness.h"
#include "MainWindow.h"
#include "SetupWizardSide.h"
#include "UpdateScheduler.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class FakeWizardSide : public SetupWizardSide
{
public:
    bool isOpen() const override { return open; }
    QString userText() const override { return user; }
    QString passwordText() const override { return password; }
    void credentialsAccepted() override { calls.append(u"accepted"_s); }
    void credentialsNotAccepted() override { calls.append(u"notAccepted"_s); }

    bool open = false;
    QString user = u"wizard user"_s;
    QString password = u"p&ss"_s;
    QStringList calls;
};

class CredentialCheckTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        h.seedAll();
        h.main().Form_Load();
        h.windows.calls.clear();
        logBefore = h.logEntries().size();
    }

    CredentialCheck& start(bool show = false)
    {
        check = std::make_unique<CredentialCheck>(
            CredentialCheck::Parts{wb, h.main(), h.windows, wizard, h.desktop, h.clock, urls}, show);
        finished = std::make_unique<QSignalSpy>(check.get(), &CredentialCheck::finished);
        return *check;
    }

    QStringList newLogEntries() const { return h.logEntries().mid(logBefore); }

    MainHarness h;
    ScriptedPageRequester wb;
    FakeWizardSide wizard;
    ServiceUrls urls{MainHarness::host()};
    std::unique_ptr<CredentialCheck> check;
    std::unique_ptr<QSignalSpy> finished;
    qsizetype logBefore = 0;
};

} // namespace

TEST_F(CredentialCheckTest, BlanksThenSendsTheMainWindowsCredentialsAfterItsTimer)
{
    CredentialCheck& c = start();
    EXPECT_EQ(wb.navigations(), QStringList{u"about:blank"_s});
    EXPECT_EQ(c.timer().interval(), 1000);
    EXPECT_TRUE(c.timer().isActive());
    wb.completeBlank(); // ignored
    c.tmr_Timer();
    EXPECT_FALSE(c.timer().isActive());
    EXPECT_EQ(wb.lastNavigation(),
              u"http://127.0.0.1:8780/ipupdate/account_validate.jsp?login=demo&password=demo123"_s);
    EXPECT_EQ(c.window().windowTitle(), u" Quorvex - IP Updater"_s);
    EXPECT_FALSE(c.window().isVisible()) << "at start-up the check runs unseen";
}

TEST_F(CredentialCheckTest, ValidAtStartUpShowsTheMainWindowListsTheDomainsAndStartsTheTimers)
{
    CredentialCheck& c = start();
    c.tmr_Timer();
    wb.completeWith(u"0=OK"_s);
    EXPECT_EQ(newLogEntries(), (QStringList{u" - Verified account credentials"_s, u" - Retrieving domain list ..."_s}));
    EXPECT_EQ(h.main().model().StartUp, 1);
    EXPECT_TRUE(h.requester(u"wb_domains"_s)
                    .lastNavigation()
                    .startsWith(u"http://127.0.0.1:8780/ipupdate/domains.jsp?login=demo&unique="_s));
    EXPECT_EQ(h.windows.calls, QStringList{u"closeSplash"_s});
    EXPECT_TRUE(h.window().isVisible());
    EXPECT_TRUE(h.main().pingTimer().isActive());
    EXPECT_TRUE(h.main().scheduler().timer().isActive());
    EXPECT_EQ(finished->count(), 1);
}

TEST_F(CredentialCheckTest, APingBoxOfExactlyZeroLeavesTheKeepAliveOff)
{
    h.main().pingTimer().stop();
    h.window().pingBox()->setText(u"0"_s);
    start().tmr_Timer();
    wb.completeWith(u"status: 0=ok"_s);
    EXPECT_FALSE(h.main().pingTimer().isActive());
    EXPECT_EQ(finished->count(), 1);
}

TEST_F(CredentialCheckTest, RefusedOrUnreachableReportsInTheMainWindow)
{
    for (const auto& [text, outcome] : {std::pair{u"1=Invalid"_s, PageRequester::Outcome::Answered},
                                        {u"10=Hostname 0="_s, PageRequester::Outcome::Answered},
                                        {u"The page cannot be displayed\r\n"_s, PageRequester::Outcome::Failed}}) {
        MainHarness fresh;
        fresh.seedAll();
        fresh.main().Form_Load();
        fresh.windows.calls.clear();
        ScriptedPageRequester requester;
        CredentialCheck c(
            CredentialCheck::Parts{requester, fresh.main(), fresh.windows, wizard, fresh.desktop, fresh.clock, urls},
            false);
        c.tmr_Timer();
        // A failed request completes at the URL it tried, so it reads as a refusal, not as the unknown.
        requester.completeWith(text, outcome);
        EXPECT_EQ(fresh.window().responseText(), u"Fail to validate your login. Either network or website is down"_s);
        EXPECT_EQ(fresh.window().lastText(), fresh.clock.nowText() + u"   -   Login validation failed"_s);
        EXPECT_EQ(fresh.logEntries().last(), u" - Fail to validate your login. Either network or website is down"_s);
        EXPECT_TRUE(fresh.window().isVisible());
        EXPECT_EQ(fresh.windows.calls, QStringList{u"closeSplash"_s});
        EXPECT_EQ(fresh.requester(u"wb_domains"_s).navigations(), QStringList{u"about:blank"_s});
        EXPECT_EQ(fresh.main().model().StartUp, 0);
        EXPECT_EQ(fresh.desktop.endProgramCalls(), 0) << text.toStdString();
    }
}

TEST_F(CredentialCheckTest, AnotherPageDecidesByItsHostnameCodeOrEndsTheProgram)
{
    start().tmr_Timer();
    wb.completeAt(u"http://127.0.0.1:8780/elsewhere"_s, u"10=Hostname"_s);
    EXPECT_EQ(h.main().model().StartUp, 1);

    MainHarness other;
    other.seedAll();
    other.main().Form_Load();
    ScriptedPageRequester requester;
    CredentialCheck c(
        CredentialCheck::Parts{requester, other.main(), other.windows, wizard, other.desktop, other.clock, urls},
        false);
    c.tmr_Timer();
    requester.completeAt(u"http://127.0.0.1:8780/elsewhere"_s, u"0=OK"_s);
    EXPECT_EQ(other.desktop.lastMessage().text,
              u"Could not determine the status, please ensure that you are online."_s);
    EXPECT_EQ(other.desktop.lastMessage().title, u"Error"_s);
    EXPECT_EQ(other.desktop.lastMessage().icon, Desktop::Icon::None);
    EXPECT_EQ(other.desktop.endProgramCalls(), 1);
}

TEST_F(CredentialCheckTest, FromTheWizardItUsesTheWizardsEntriesAndHandsStepTwoBack)
{
    wizard.open = true;
    CredentialCheck& c = start(true);
    EXPECT_TRUE(c.window().isVisible());
    c.tmr_Timer();
    EXPECT_EQ(wb.lastNavigation(),
              u"http://127.0.0.1:8780/ipupdate/account_validate.jsp?login=wizard%20user&password=p%26ss"_s);
    wb.completeWith(u"0=OK"_s);
    EXPECT_EQ(wizard.calls, QStringList{u"accepted"_s});
    EXPECT_EQ(h.window().userNameBox()->text(), u"wizard user"_s);
    EXPECT_TRUE(h.requester(u"wb_domains"_s).lastNavigation().contains(u"login=wizard%20user"_s));
    EXPECT_EQ(h.main().model().StartUp, 0);
    EXPECT_FALSE(h.window().isVisible());
    EXPECT_FALSE(c.window().isVisible());
    EXPECT_EQ(finished->count(), 1);
}

TEST_F(CredentialCheckTest, CancelHandsBackToTheWizardOrEndsTheProgram)
{
    wizard.open = true;
    CredentialCheck& fromWizard = start(true);
    QTest::mouseClick(fromWizard.window().findChild<QPushButton*>(u"cmdCancel"_s), Qt::LeftButton);
    EXPECT_EQ(wizard.calls, QStringList{u"notAccepted"_s});
    EXPECT_EQ(h.desktop.endProgramCalls(), 0);
    EXPECT_EQ(finished->count(), 1);

    wizard.open = false;
    CredentialCheck& atStartUp = start();
    atStartUp.cmdCancel_Click();
    EXPECT_EQ(h.desktop.lastMessage().text, u"You must verify that your credentials are correct before proceeding\r\n"
                                            u"Please restart the application to try again"_s);
    EXPECT_EQ(h.desktop.lastMessage().icon, Desktop::Icon::Exclamation);
    EXPECT_EQ(h.desktop.endProgramCalls(), 1);
    // Once unloaded, a late answer changes nothing.
    atStartUp.tmr_Timer();
    wb.completeWith(u"0=OK"_s);
    EXPECT_EQ(h.main().model().StartUp, 0);
}
