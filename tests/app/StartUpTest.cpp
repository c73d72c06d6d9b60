#include "MainController.h"
#include "MainWindow.h"
#include "UpdateScheduler.h"
#include "support/InProcessProgram.h"
#include "support/QtPrinters.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QString versionPage()
{
    return u"http://127.0.0.1:8780/ipupdate/dyndata.txt"_s;
}

} // namespace

TEST(StartUp, FirstStartFetchesTheVersionPageWritesItAndOpensTheWizard)
{
    InProcessProgram p;
    p.load();
    ScriptedPageRequester& updates = p.requester(u"wb_updates"_s);
    EXPECT_EQ(updates.lastNavigation(), versionPage());
    EXPECT_TRUE(p.calls.isEmpty()) << "nothing else happens until the version page is in";

    updates.completeWith(u"url=http://127.0.0.1:8780/dyn/update\r\nversion=1.3\r\n"_s);
    EXPECT_EQ(p.dir.readBytes(u"Update.ini"_s),
              "http://127.0.0.1:8780/dyn/update\r\n1.3\r\n" + p.clock.todayText().toUtf8() + "\r\n");
    EXPECT_EQ(p.calls, (QStringList{u"openWizard"_s, u"closeSplash"_s}));
}

TEST(StartUp, SeededFilesLoadInOrderAndTheCredentialCheckStarts)
{
    InProcessProgram p;
    p.seed();
    p.machine.setLocalAddress(u"192.0.2.44"_s);
    MainWindow& w = p.load().window();

    EXPECT_EQ(p.logEntries(), (QStringList{u" - Quorvex IP Updater is up to date."_s, u" - Version: 1.3"_s,
                                           u" - Loaded general settings."_s, u" - Checking account credentials."_s}));
    EXPECT_EQ((QStringList{w.hoursBox()->text(), w.minutesBox()->text(), w.pingBox()->text(), w.userNameBox()->text(),
                           w.passwordBox()->text(), w.machineText()}),
              (QStringList{u"1"_s, u"5"_s, u"3"_s, u"demo"_s, u"demo123"_s, u"192.0.2.44"_s}));
    EXPECT_TRUE(w.routerOption()->isChecked() && w.versionCheckBox()->isChecked() && w.pingCheckBox()->isChecked());
    EXPECT_EQ(w.locators(), (QStringList{u"loc1.example"_s, u"loc2.example"_s}));
    EXPECT_EQ(p.requester(u"wb_external"_s).lastNavigation(), u"loc1.example"_s);
    EXPECT_TRUE(p.main().scheduler().timer().isActive() && p.main().pingTimer().isActive());
    EXPECT_EQ(p.calls, (QStringList{u"startCredentialCheck"_s, u"splashStatus:Checking your credentials ..."_s}));
    EXPECT_FALSE(w.isVisible()) << "shown once the credentials are verified";
}

TEST(StartUp, UnreadableSettingsOrAccountOpenTheWizard)
{
    for (const auto& [conf, account] : {std::pair<QByteArray, QByteArray>{"1\r\n5\r\n 0 \r\n 1 \r\n", "demo\r\npw\r\n"},
                                        {"1\r\n5\r\n 0 \r\n 1 \r\n0\r\n", "demo\r\n\r\n"},
                                        {"1\r\n5\r\n 0 \r\n 1 \r\n0\r\n", ""}}) {
        SCOPED_TRACE(QByteArray(conf + " | " + account).constData());
        InProcessProgram p;
        p.seed(conf, account);
        p.load();
        EXPECT_EQ(p.calls, (QStringList{u"openWizard"_s, u"closeSplash"_s}));
    }
}

// Checked on another day: the version page is asked for again, unless the check is switched off.
TEST(StartUp, TheVersionCheckIsDueOnAnotherDayUnlessSwitchedOff)
{
    for (const bool on : {true, false}) {
        SCOPED_TRACE(on);
        InProcessProgram p;
        p.seed("1\r\n5\r\n 0 \r\n" + QByteArray(on ? " 1 " : " 0 ") + "\r\n3\r\nloc1.example\r\n",
               "demo\r\ndemo123\r\nwww.example.com\r\n", u"0"_s);
        p.load();
        EXPECT_EQ(p.requester(u"wb_updates"_s).lastNavigation() == versionPage(), on);
    }
}

// The gateway's comma shifts the fields the update file is read back with, so the reload finds
// the check due again; the second time round it must stop.
TEST(StartUp, AVersionPageWhoseGatewayHoldsACommaIsFetchedTwiceAtMost)
{
    InProcessProgram p;
    p.seed("1\r\n5\r\n 0 \r\n 1 \r\n3\r\nloc1.example\r\n", "demo\r\ndemo123\r\nwww.example.com\r\n", u"0"_s);
    p.desktop.queueAnswer(Desktop::Answer::No); // the shifted fields offer "b" as a new version
    p.load();
    ScriptedPageRequester& updates = p.requester(u"wb_updates"_s);
    int fetched = 0;
    for (; fetched < 10 && updates.lastNavigation() == versionPage(); ++fetched) {
        updates.completeWith(u"url=http://gw/a,b\r\nversion=1.3\r\n"_s);
    }
    EXPECT_EQ(fetched, 2);
    EXPECT_EQ(p.desktop.endProgramCalls(), 0);
}
