#include "DomainList.h"
#include "MainHarness.h"
#include "MainWindow.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class AccountTab : public ::testing::Test
{
protected:
    void SetUp() override
    {
        h.seedAll();
        h.main().Form_Load();
        h.windows.calls.clear();
        HostChecklist& list = h.window().checklist();
        list.AddDomain(u"example.com"_s);
        list.AddHost(u"www.example.com"_s);
        list.AddHost(u"mail.example.com"_s);
        list.Selected(u"www.example.com"_s, true);
    }

    void apply() { QTest::mouseClick(h.window().findChild<QPushButton*>(u"cmdApply_Account"_s), Qt::LeftButton); }

    MainHarness h;
};

} // namespace

TEST_F(AccountTab, ApplyWithoutATickedHostIsRefusedAndWritesNothing)
{
    const QByteArray before = h.dir.readBytes(u"Account.ini"_s);
    h.window().tabs()->setCurrentIndex(MainWindow::AccountTab);
    h.window().checklist().Selected(u"www.example.com"_s, false);
    apply();
    EXPECT_EQ(h.desktop.lastMessage().title, u"Error"_s);
    EXPECT_EQ(h.desktop.lastMessage().text, u"You must select at least one host to update."_s);
    EXPECT_EQ(h.desktop.lastMessage().icon, Desktop::Icon::Exclamation);
    EXPECT_EQ(h.dir.readBytes(u"Account.ini"_s), before);
    EXPECT_FALSE(h.main().accountSnapshot().isEmpty()) << "the tab's snapshot is kept";
    EXPECT_TRUE(h.windows.calls.isEmpty());
}

TEST_F(AccountTab, ApplyWritesTheTickedHostsInOrderAndReloads)
{
    h.window().checklist().Selected(u"mail.example.com"_s, true);
    h.window().passwordBox()->setText(u"new,pass"_s);
    apply();
    EXPECT_EQ(h.dir.readBytes(u"Account.ini"_s), "demo\r\nnew,pass\r\nwww.example.com\r\nmail.example.com\r\n");
    EXPECT_EQ(h.desktop.lastMessage().title, u"QuorVex IP Updater"_s);
    EXPECT_EQ(h.desktop.lastMessage().text, u"Your settings have been applied"_s);
    EXPECT_EQ(h.windows.calls.first(), u"showSplash"_s);
    EXPECT_TRUE(h.windows.calls.contains(u"startCredentialCheck"_s));
    // The reload reads the password back only up to its comma.
    EXPECT_EQ(h.window().passwordBox()->text(), u"new"_s);
}

TEST_F(AccountTab, LeavingTheTabUndoesWhatWasNotApplied)
{
    MainWindow& w = h.window();
    w.tabs()->setCurrentIndex(MainWindow::AccountTab);
    w.checklist().Selected(u"www.example.com"_s, false);
    w.checklist().Selected(u"mail.example.com"_s, true);
    w.userNameBox()->setText(u"someone"_s);
    QTest::keyClick(w.tabs()->tabBar(), Qt::Key_Shift); // a key on the strip keeps the snapshot as taken
    w.tabs()->setCurrentIndex(MainWindow::StatusTab);
    EXPECT_TRUE(w.checklist().IsSelected(1));
    EXPECT_FALSE(w.checklist().IsSelected(2));
    EXPECT_EQ(w.userNameBox()->text(), u"demo"_s);
    EXPECT_TRUE(h.main().accountSnapshot().isEmpty());

    // Straight from the Account tab to the Settings tab: both halves run.
    w.tabs()->setCurrentIndex(MainWindow::AccountTab);
    w.checklist().Selected(u"www.example.com"_s, false);
    w.tabs()->setCurrentIndex(MainWindow::SettingsTab);
    EXPECT_TRUE(w.checklist().IsSelected(1));
    EXPECT_FALSE(h.main().settingsSnapshot().isEmpty());
}

TEST_F(AccountTab, ResetAccountAsksThenHandsOverToTheWizard)
{
    h.desktop.queueAnswer(Desktop::Answer::Cancel);
    QTest::mouseClick(h.window().findChild<QPushButton*>(u"ResetAccount"_s), Qt::LeftButton);
    EXPECT_EQ(h.desktop.lastMessage().title, u"Reconfigure account?"_s);
    EXPECT_EQ(h.desktop.lastMessage().text, u"You sure you want to reconfigure your account settings?"_s);
    EXPECT_EQ(h.desktop.lastMessage().buttons, Desktop::Buttons::OkCancel);
    EXPECT_TRUE(h.windows.calls.isEmpty());

    h.desktop.queueAnswer(Desktop::Answer::Ok);
    h.main().ResetAccount_Click();
    EXPECT_EQ(h.windows.calls, (QStringList{u"openWizard"_s, u"unloadMainWindow"_s}));
    EXPECT_TRUE(h.dir.exists(u"Account.ini"_s)) << "no file changes until the wizard finishes";
}

TEST_F(AccountTab, RefreshListAsksForTheDomains)
{
    QTest::mouseClick(h.window().findChild<QPushButton*>(u"cmdRefreshHosts"_s), Qt::LeftButton);
    EXPECT_TRUE(h.requester(u"wb_domains"_s)
                    .lastNavigation()
                    .startsWith(u"http://127.0.0.1:8780/ipupdate/domains.jsp?login=demo&unique="_s));
}
