#include "MainHarness.h"
#include "MainWindow.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

void click(MainWindow& window, const QString& name)
{
    auto* button = window.findChild<QPushButton*>(name);
    ASSERT_NE(button, nullptr) << name.toStdString();
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace

TEST(MainWindowActions, SettingsApplyWritesReportsAndReloads)
{
    MainHarness h;
    h.seedAll();
    h.main().Form_Load();
    h.windows.calls.clear();
    MainWindow& w = h.window();
    w.tabs()->setCurrentIndex(MainWindow::SettingsTab);
    w.minutesBox()->setText(u"45"_s);
    w.machineOption()->setChecked(true);
    w.pingBox()->setText(u"0"_s);
    click(w, u"cmdApply_Settings"_s);

    EXPECT_EQ(h.dir.readBytes(u"Conf.ini"_s), "0\r\n45\r\n 1 \r\n 1 \r\n0\r\nloc1.example\r\nloc2.example\r\n");
    ASSERT_EQ(h.desktop.messages().size(), 1);
    EXPECT_EQ(h.desktop.lastMessage().title, u"Quorvex IP Updater"_s);
    EXPECT_EQ(h.desktop.lastMessage().text, u"Your settings have been applied"_s);
    EXPECT_EQ(h.desktop.lastMessage().icon, Desktop::Icon::Information);
    EXPECT_EQ(h.windows.calls.first(), u"showSplash"_s);
    EXPECT_EQ(w.tabs()->currentIndex(), MainWindow::StatusTab);
    EXPECT_EQ(w.minutesBox()->text(), u"45"_s) << "applied values survive leaving the tab";
    EXPECT_TRUE(w.machineOption()->isChecked());
    EXPECT_EQ(h.main().model().Interval, 45);
    EXPECT_EQ(h.logEntries().count(u" - Loaded general settings."_s), 2);
}

TEST(MainWindowActions, SettingsApplyWithTextInTheHoursBoxReloadsIntoTheWizard)
{
    MainHarness h;
    h.seedAll();
    h.main().Form_Load();
    h.windows.calls.clear();
    h.window().hoursBox()->setText(u"abc"_s);
    click(h.window(), u"cmdApply_Settings"_s);
    EXPECT_TRUE(h.dir.readBytes(u"Conf.ini"_s).startsWith("abc\r\n"));
    EXPECT_EQ(h.desktop.lastMessage().text, u"Your settings have been applied"_s);
    EXPECT_EQ(h.windows.calls, (QStringList{u"showSplash"_s, u"openWizard"_s, u"closeSplash"_s}));
}

TEST(MainWindowActions, SettingsApplyThatCannotWriteEndsTheProgramAndKeepsTheFile)
{
    MainHarness h;
    h.seedAll();
    h.main().Form_Load();
    const QByteArray before = h.dir.readBytes(u"Conf.ini"_s);
    h.window().hoursBox()->setText(u"7"_s);
    h.window().pingBox()->setText(u"soon"_s);
    click(h.window(), u"cmdApply_Settings"_s);
    EXPECT_EQ(h.dir.readBytes(u"Conf.ini"_s), before);
    EXPECT_EQ(h.desktop.lastMessage().title, u"Error"_s);
    EXPECT_EQ(h.desktop.lastMessage().text,
              u"Failed to write the general configuration file.\r\nPlease ensure that you "
              u"have permission to read & write the application directory"_s);
    EXPECT_EQ(h.desktop.lastMessage().icon, Desktop::Icon::Critical);
    EXPECT_EQ(h.desktop.endProgramCalls(), 1);
}

TEST(MainWindowActions, ExitAsksFirstFromEveryTabAndFromTheTitleBar)
{
    MainHarness h;
    h.seedAll();
    h.main().Form_Load();
    h.desktop.queueAnswer(Desktop::Answer::No);
    click(h.window(), u"cmdExit(0)"_s);
    EXPECT_EQ(h.desktop.lastMessage().title, u"Exit"_s);
    EXPECT_EQ(h.desktop.lastMessage().text, u"Are you sure you wish to quit ?\r\nYour IP will no longer be updated"_s);
    EXPECT_EQ(h.desktop.lastMessage().buttons, Desktop::Buttons::YesNo);
    EXPECT_EQ(h.desktop.lastMessage().icon, Desktop::Icon::None);
    EXPECT_EQ(h.desktop.endProgramCalls(), 0);

    h.window().show();
    h.desktop.queueAnswer(Desktop::Answer::No);
    EXPECT_FALSE(h.window().close()) << "No keeps the window";
    EXPECT_TRUE(h.window().isVisible());
    EXPECT_EQ(h.desktop.endProgramCalls(), 0);

    h.desktop.queueAnswer(Desktop::Answer::Yes);
    click(h.window(), u"cmdExit(2)"_s);
    EXPECT_EQ(h.desktop.endProgramCalls(), 1);
    h.desktop.queueAnswer(Desktop::Answer::Yes);
    h.window().close();
    EXPECT_EQ(h.desktop.endProgramCalls(), 2);
}

TEST(MainWindowActions, LeavingTheSettingsTabUndoesEditsThatWereNotApplied)
{
    MainHarness h;
    h.seedAll();
    h.main().Form_Load();
    MainWindow& w = h.window();
    w.tabs()->setCurrentIndex(MainWindow::SettingsTab);
    ASSERT_EQ(h.main().settingsSnapshot().size(), 8);
    w.hoursBox()->setText(u"9"_s);
    w.machineOption()->setChecked(true);
    w.versionCheckBox()->setChecked(false);
    w.pingBox()->setText(u"44"_s);
    w.pingCheckBox()->setChecked(false);
    w.locatorList()->addItem(u"added.example"_s);
    delete w.locatorList()->takeItem(0);

    // A key on the tab strip while the tab is current keeps the snapshot as it was taken.
    QTest::keyClick(w.tabs()->tabBar(), Qt::Key_Shift);
    EXPECT_EQ(h.main().settingsSnapshot().at(0), u"0"_s);

    w.tabs()->setCurrentIndex(MainWindow::LogsTab);
    EXPECT_TRUE(h.main().settingsSnapshot().isEmpty());
    EXPECT_EQ(w.hoursBox()->text(), u"0"_s);
    EXPECT_TRUE(w.routerOption()->isChecked());
    EXPECT_FALSE(w.locatorFrame()->isHidden());
    EXPECT_TRUE(w.versionCheckBox()->isChecked());
    EXPECT_EQ(w.pingBox()->text(), u"3"_s);
    EXPECT_TRUE(w.pingCheckBox()->isChecked());
    EXPECT_EQ(w.locators(), (QStringList{u"loc1.example"_s, u"loc2.example"_s}));
}

TEST(MainWindowActions, ControlsCarryTheirNames)
{
    MainHarness h;
    MainWindow& w = h.window();
    EXPECT_EQ(w.windowTitle(), u"QuorVex - IP Updater"_s);
    QStringList tabs;
    for (int i = 0; i < w.tabs()->count(); ++i) {
        tabs.append(w.tabs()->tabText(i));
    }
    EXPECT_EQ(tabs, (QStringList{u"Status"_s, u"Account"_s, u"Settings"_s, u"Logs"_s, u"About"_s}));
    for (const char* name : {"lblUsing",
                             "lblremote",
                             "lblmachine",
                             "lblnext",
                             "lblLast",
                             "lblLastIP",
                             "txtResponse",
                             "cmdForceUpdate",
                             "txtusername",
                             "txtpassword",
                             "domainList1",
                             "cmdRefreshHosts",
                             "cmdApply_Account",
                             "ResetAccount",
                             "txthours",
                             "txtMinutes",
                             "hrsUp",
                             "hrsDown",
                             "minUp",
                             "minDown",
                             "optIP(0)",
                             "optIP(1)",
                             "fraLocators",
                             "lstLocators",
                             "locatorAdd",
                             "locatorRemove",
                             "locatorUp",
                             "locatorDown",
                             "chkCheck",
                             "cmdCheckNow",
                             "chkPing",
                             "txtPing",
                             "cmdApply_Settings",
                             "cmdExit(0)",
                             "cmdExit(1)",
                             "cmdExit(2)",
                             "txtLog",
                             "Label7",
                             "lblHyperlink"}) {
        EXPECT_NE(w.findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    }
    EXPECT_EQ(w.findChild<QLabel*>(u"lblLast"_s)->text(), u"Not Updated"_s);
    EXPECT_EQ(w.findChild<QLabel*>(u"lblremote"_s)->text(), u"Checking ..."_s);
}

TEST(MainWindowActions, ResponseBoxShowsTheLastTextOnceAndOnlyWhenItChanges)
{
    MainHarness h;
    MainWindow& w = h.window();
    auto* box = w.findChild<QPlainTextEdit*>(u"txtResponse"_s);
    ASSERT_NE(box, nullptr);
    QSignalSpy changes(box, &QPlainTextEdit::textChanged);

    // An exchange's two texts in one go: the reader sees the last at once, the box only that one.
    w.setResponseText(u"Updating ..."_s);
    w.setResponseText(u"good 203.0.113.7\r\nsecond line\r\n"_s);
    EXPECT_EQ(w.responseText(), u"good 203.0.113.7\r\nsecond line\r\n"_s);
    QCoreApplication::processEvents();
    EXPECT_EQ(box->toPlainText(), u"good 203.0.113.7\nsecond line\n"_s);
    const qsizetype afterFirst = changes.size();
    EXPECT_GE(afterFirst, 1);

    // The same outcome again, as in every quiet cycle: the box is left alone.
    w.setResponseText(u"Updating ..."_s);
    w.setResponseText(u"good 203.0.113.7\r\nsecond line\r\n"_s);
    QCoreApplication::processEvents();
    EXPECT_EQ(changes.size(), afterFirst);

    // A later, different text still reaches the box.
    w.setResponseText(u"Not updated. IP had not changed."_s);
    QCoreApplication::processEvents();
    EXPECT_EQ(box->toPlainText(), u"Not updated. IP had not changed."_s);
}

TEST(MainWindowActions, AboutLinkAndCheckNowGoThroughTheDesktopAndTheVersionPage)
{
    MainHarness h;
    h.seedAll();
    h.main().Form_Load();
    emit h.window().homePageClicked();
    EXPECT_EQ(h.desktop.openedUrls(), QStringList{u"http://127.0.0.1:8780/"_s});
    click(h.window(), u"cmdCheckNow"_s);
    EXPECT_EQ(h.requester(u"wb_updates"_s).lastNavigation(), u"http://127.0.0.1:8780/ipupdate/dyndata.txt?unique="_s +
                                                                 ServiceUrls::encodeQueryValue(h.clock.nowText()));
}

TEST(MainWindowActions, PingTimerLocatorButtonsAndMinimizingAreWired)
{
    MainHarness h;
    h.seedAll(); // ping every 3 minutes
    h.main().Form_Load();
    ASSERT_TRUE(h.main().pingTimer().isActive());
    h.main().pingTimer().setInterval(2); // three ticks without waiting three minutes
    ScriptedPageRequester& keepAlive = h.requester(u"wb_keepalive"_s);
    for (int i = 0; i < 200 && !keepAlive.lastNavigation().startsWith(u"127.0.0.1"_s); ++i) {
        QTest::qWait(5);
    }
    EXPECT_TRUE(keepAlive.lastNavigation().startsWith(u"127.0.0.1:8780/keepalive?"_s));
    EXPECT_TRUE(h.logEntries().contains(u" - PING Connection Keep-Alive"_s));

    MainWindow& w = h.window();
    w.locatorList()->setCurrentRow(0);
    click(w, u"locatorRemove"_s);
    EXPECT_EQ(w.locators(), QStringList{u"loc2.example"_s});

    w.show();
    w.setWindowState(Qt::WindowMinimized);
    EXPECT_EQ(h.windows.calls.count(u"minimizeToTray"_s), 1);

    h.desktop.queueAnswer(Desktop::Answer::Yes);
    click(w, u"cmdExit(1)"_s);
    EXPECT_TRUE(h.windows.calls.contains(u"removeTrayIcon"_s)) << "the icon goes before the program ends";
    EXPECT_EQ(h.desktop.endProgramCalls(), 1);
}

TEST(MainWindowActions, IntervalBoxesStepByKeysAndArrowsWithinTheirBounds)
{
    MainHarness h;
    MainWindow& w = h.window();
    w.hoursBox()->setText(u"98"_s);
    QTest::keyClick(w.hoursBox(), Qt::Key_Up);
    EXPECT_EQ(w.hoursBox()->text(), u"99"_s);
    QTest::mouseClick(w.findChild<QToolButton*>(u"hrsUp"_s), Qt::LeftButton);
    EXPECT_EQ(w.hoursBox()->text(), u"99"_s);
    w.minutesBox()->setText(u"1"_s);
    QTest::mouseClick(w.findChild<QToolButton*>(u"minDown"_s), Qt::LeftButton);
    EXPECT_EQ(w.minutesBox()->text(), u"0"_s);
    QTest::keyClick(w.minutesBox(), Qt::Key_Down);
    EXPECT_EQ(w.minutesBox()->text(), u"0"_s);
    w.minutesBox()->setText(u"59"_s);
    QTest::mouseClick(w.findChild<QToolButton*>(u"minUp"_s), Qt::LeftButton);
    EXPECT_EQ(w.minutesBox()->text(), u"59"_s) << "no wrap and no carry into the hours";
    EXPECT_EQ(w.hoursBox()->text(), u"99"_s);
    w.hoursBox()->setText(u"abc"_s);
    QTest::mouseClick(w.findChild<QToolButton*>(u"hrsDown"_s), Qt::LeftButton);
    EXPECT_EQ(w.hoursBox()->text(), u"abc"_s);
    QTest::keyClick(w.hoursBox(), Qt::Key_Up);
    EXPECT_EQ(w.hoursBox()->text(), u"1"_s);
}
