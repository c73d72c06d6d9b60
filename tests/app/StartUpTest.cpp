#include "MainHarness.h"
#include "MainWindow.h"
#include "UpdateScheduler.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QStringList requesterOrder()
{
    return {u"wb_external"_s, u"wb_updates"_s, u"wb_keepalive"_s, u"wb_account"_s,
            u"wb_domains"_s,  u"wb_hosts"_s,   u"wb_setip"_s};
}

QString label(MainWindow& window, const QString& name)
{
    return window.findChild<QLabel*>(name)->text();
}

} // namespace

TEST(StartUp, FirstStartFetchesTheVersionPageWritesTheUpdateFileAndOpensTheWizard)
{
    MainHarness h;
    h.main().Form_Load();
    for (const QString& name : requesterOrder()) {
        ASSERT_FALSE(h.requester(name).navigations().isEmpty()) << name.toStdString();
        EXPECT_EQ(h.requester(name).navigations().first(), u"about:blank"_s);
    }
    ScriptedPageRequester& updates = h.requester(u"wb_updates"_s);
    ASSERT_EQ(updates.navigations().size(), 2);
    EXPECT_EQ(updates.lastNavigation(), u"http://127.0.0.1:8780/ipupdate/dyndata.txt"_s);
    EXPECT_TRUE(h.windows.calls.isEmpty()) << "nothing else happens until the version page is in";

    updates.completeWith(u"url=http://127.0.0.1:8780/dyn/update\r\nversion=1.3\r\n"_s);
    EXPECT_EQ(h.dir.readBytes(u"Update.ini"_s),
              "http://127.0.0.1:8780/dyn/update\r\n1.3\r\n" + h.today().toUtf8() + "\r\n");
    EXPECT_EQ(h.main().model().GatewayURL, u"http://127.0.0.1:8780/dyn/update"_s);
    EXPECT_EQ(h.windows.calls, (QStringList{u"openWizard"_s, u"closeSplash"_s}));
    EXPECT_FALSE(h.main().scheduler().timer().isActive()) << "no settings were loaded";
    EXPECT_EQ(h.main().model().ConfigPath, h.dir.path());
}

TEST(StartUp, SeededFilesLoadInOrder)
{
    MainHarness h;
    h.seedAll();
    h.machine.setLocalAddress(u"192.0.2.44"_s);
    h.main().Form_Load();

    EXPECT_EQ(h.logEntries(), (QStringList{u" - Quorvex IP Updater is up to date."_s, u" - Version: 1.3"_s,
                                           u" - Loaded general settings."_s, u" - Checking account credentials."_s}));
    MainWindow& w = h.window();
    EXPECT_EQ(label(w, u"lblUsing"_s), u"Remote"_s);
    EXPECT_EQ(label(w, u"lblnext"_s), u"0 Hours 5 Minutes"_s);
    EXPECT_EQ(label(w, u"lblmachine"_s), u"192.0.2.44"_s);
    EXPECT_EQ(label(w, u"Label7"_s), u"QUORVEX IP Updater Version 1.3"_s);
    EXPECT_EQ(w.hoursBox()->text(), u"0"_s);
    EXPECT_EQ(w.minutesBox()->text(), u"5"_s);
    EXPECT_TRUE(w.routerOption()->isChecked());
    EXPECT_FALSE(w.locatorFrame()->isHidden());
    EXPECT_TRUE(w.versionCheckBox()->isChecked());
    EXPECT_TRUE(w.pingCheckBox()->isChecked());
    EXPECT_EQ(w.pingBox()->text(), u"3"_s);
    EXPECT_EQ(w.locators(), (QStringList{u"loc1.example"_s, u"loc2.example"_s}));
    EXPECT_EQ(w.userNameBox()->text(), u"demo"_s);
    EXPECT_EQ(w.passwordBox()->text(), u"demo123"_s);
    EXPECT_EQ(h.main().model().Interval, 5);
    EXPECT_EQ(h.main().model().PingInterval, 3);

    EXPECT_EQ(h.requester(u"wb_updates"_s).navigations(), QStringList{u"about:blank"_s}) << "checked today already";
    EXPECT_EQ(h.requester(u"wb_external"_s).lastNavigation(), u"loc1.example"_s);
    EXPECT_TRUE(h.main().scheduler().timer().isActive());
    EXPECT_TRUE(h.main().pingTimer().isActive());
    EXPECT_EQ(h.windows.calls,
              (QStringList{u"startCredentialCheck"_s, u"splashStatus:Checking your credentials ..."_s}));
    EXPECT_FALSE(w.isVisible());
}

TEST(StartUp, VersionCheckIsDueOnAnotherDayAndSkippedWhenSwitchedOff)
{
    MainHarness due;
    due.seedAll();
    due.seedUpdateFile(u"0"_s);
    due.main().Form_Load();
    EXPECT_EQ(due.requester(u"wb_updates"_s).lastNavigation(), u"http://127.0.0.1:8780/ipupdate/dyndata.txt"_s);
    EXPECT_FALSE(due.log().contains(u"up to date"_s));

    MainHarness off;
    off.seedAll();
    off.seedUpdateFile(u"0"_s);
    off.seedConf("0\r\n5\r\n 0 \r\n 0 \r\n0\r\nloc1.example\r\n");
    off.main().Form_Load();
    EXPECT_EQ(off.requester(u"wb_updates"_s).navigations(), QStringList{u"about:blank"_s});
    EXPECT_EQ(off.logEntries(), (QStringList{u" - Loaded general settings."_s, u" - Checking account credentials."_s}));
    EXPECT_FALSE(off.window().versionCheckBox()->isChecked());
    // Ping 0: box cleared, five minutes offered, no ping timer.
    EXPECT_FALSE(off.window().pingCheckBox()->isChecked());
    EXPECT_EQ(off.window().pingBox()->text(), u"5"_s);
    EXPECT_FALSE(off.main().pingTimer().isActive());
}

TEST(StartUp, MachineAddressSourceHidesTheLocators)
{
    MainHarness h;
    h.seedAll();
    h.seedConf("1\r\n30\r\n 1 \r\n 1 \r\n0\r\nloc1.example\r\n");
    h.main().Form_Load();
    MainWindow& w = h.window();
    EXPECT_TRUE(w.machineOption()->isChecked());
    EXPECT_TRUE(w.locatorFrame()->isHidden());
    EXPECT_EQ(label(w, u"lblUsing"_s), u"Machine"_s);
    EXPECT_EQ(label(w, u"lblnext"_s), u"1 Hours 30 Minutes"_s);
    // Choosing the router on screen shows the frame at once, without saving anything.
    w.routerOption()->setChecked(true);
    EXPECT_FALSE(w.locatorFrame()->isHidden());
    EXPECT_EQ(label(w, u"lblUsing"_s), u"Machine"_s);
}

TEST(StartUp, UnreadableSettingsOrAccountOpenTheWizard)
{
    for (const auto& [conf, account] : {std::pair<QByteArray, QByteArray>{"0\r\n5\r\n 0 \r\n 1 \r\n", "demo\r\npw\r\n"},
                                        {"0\r\n5\r\n 0 \r\n 1 \r\n0\r\n", "demo\r\n\r\n"},
                                        {"0\r\n5\r\n 0 \r\n 1 \r\n0\r\n", ""}}) {
        MainHarness h;
        h.seedAll();
        h.seedConf(conf);
        h.seedAccount(account);
        h.main().Form_Load();
        EXPECT_EQ(h.windows.calls, (QStringList{u"openWizard"_s, u"closeSplash"_s})) << conf.constData();
    }
}

TEST(StartUp, ReloadKeepsRunningTimersAndInMemoryState)
{
    MainHarness h;
    h.seedAll();
    h.main().Form_Load();
    const QTimer& timer = h.main().scheduler().timer();
    ASSERT_TRUE(timer.isActive());
    h.main().model().LastIP = u"203.0.113.7"_s;
    h.main().model().AskedNewVersion = true;
    h.main().Form_Load();
    EXPECT_TRUE(timer.isActive());
    EXPECT_EQ(h.main().model().LastIP, u"203.0.113.7"_s);
    EXPECT_TRUE(h.main().model().AskedNewVersion);
    EXPECT_EQ(h.logEntries().count(u" - Loaded general settings."_s), 2);
}

TEST(StartUp, AVersionPageWhoseGatewayHoldsACommaIsFetchedTwiceAtMostNotForever)
{
    MainHarness h;
    h.seedAll();
    h.seedUpdateFile(u"0"_s);
    h.desktop.queueAnswer(Desktop::Answer::No); // the shifted fields read "b" as the latest version
    h.main().Form_Load();
    ScriptedPageRequester& updates = h.requester(u"wb_updates"_s);
    int fetched = 0;
    while (updates.hasPending() && updates.lastNavigation() != u"about:blank"_s && fetched < 10) {
        ++fetched;
        updates.completeWith(u"url=http://gw/a,b\r\nversion=1.3\r\n"_s);
        if (updates.lastNavigation() == u"about:blank"_s) {
            updates.completeBlank();
        }
    }
    EXPECT_EQ(fetched, 2);
    EXPECT_EQ(h.desktop.endProgramCalls(), 0);
}

TEST(StartUp, SchedulerAndForceUpdateReachTheLookupAndTheGateway)
{
    MainHarness h;
    h.seedAll();
    h.main().Form_Load();
    h.requester(u"wb_external"_s).clearNavigations();
    h.machine.setLocalAddress(u"192.0.2.99"_s);
    h.main().scheduler().tick(); // the first tick goes straight to the lookup
    EXPECT_EQ(h.requester(u"wb_external"_s).navigations(), QStringList{u"loc1.example"_s});
    EXPECT_EQ(h.window().machineText(), u"192.0.2.99"_s);

    h.window().findChild<QPushButton*>(u"cmdForceUpdate"_s)->click();
    EXPECT_TRUE(h.requester(u"wb_setip"_s)
                    .lastNavigation()
                    .startsWith(u"http://127.0.0.1:8780/dyn/update?login=demo&password=demo123&force=Y"_s));
}

TEST(StartUp, AnUpdateWithoutHostsHandsOverToTheWizard)
{
    MainHarness h;
    h.seedAll();
    h.main().Form_Load();
    h.windows.calls.clear();
    h.seedAccount("demo\r\ndemo123\r\n");
    h.main().cmdForceUpdate_Click();
    EXPECT_EQ(h.windows.calls, (QStringList{u"openWizard"_s, u"closeSplash"_s}));
}
