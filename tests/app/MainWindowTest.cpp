#include "MainWindow.h"
#include "ConfFile.h"
#include "DomainList.h"
#include "MainController.h"
#include "WidgetDesktop.h"
#include "support/InProcessProgram.h"
#include "support/QtPrinters.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <tuple>

using namespace Qt::StringLiterals;

namespace {

// The main window loaded from the usual files, its account's hosts listed with the first ticked.
class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        p.seed();
        p.load();
        p.calls.clear();
        w.checklist().AddDomain(u"example.com"_s);
        w.checklist().AddHost(u"www.example.com"_s);
        w.checklist().AddHost(u"mail.example.com"_s);
        w.checklist().Selected(u"www.example.com"_s, true);
    }

    void click(const QString& button) { w.button(button)->click(); }

    InProcessProgram p;
    MainWindow& w = p.main().window();
};

} // namespace

// Whatever Apply writes, the next start reads: a slip in any box is the user's to correct (the
// message, nothing written, the program goes on), and the ping box counts only while the ping is
// ticked. A write that succeeds reloads, keeping the address last sent (else the next cycle would
// send it again, unchanged); one that fails ends the program with a failure.
TEST_F(MainWindowTest, SettingsApplyWritesOnlyWhatLoadsBackThenReloads)
{
    const QByteArray before = p.dir.readBytes(u"Conf.ini"_s);
    const QString invalid = u"Invalid ping time\r\nPlease enter the time in minutes"_s;
    const QString range = u"Ping time is out of range\r\nPlease enter a time in minutes, between 1-99"_s;
    const QString interval = u"You need to select an interval of at least of 1 minute"_s;
    const QByteArray rest = " 0 \r\n 1 \r\n";
    const QByteArray locators = "loc1.example\r\nloc2.example\r\n";
    const std::tuple<QString, QString, QString, bool, QString, QByteArray> rows[] = {
        {u"1"_s, u"5"_s, u""_s, true, invalid, {}},
        {u"1"_s, u"5"_s, u"5x"_s, true, range, {}},
        {u"1"_s, u"5"_s, u"soon"_s, true, invalid, {}},
        {u"1"_s, u"5"_s, u"40000"_s, true, range, {}},
        {u"1h"_s, u"5"_s, u"3"_s, true, interval, {}},
        {u"547"_s, u"0"_s, u"3"_s, true, interval, {}},
        {u"\uFF15"_s, u"0"_s, u"3"_s, true, interval, {}},
        {u"0"_s, u"0"_s, u"3"_s, true, interval, {}},
        {u"546"_s, u"7"_s, u"32767"_s, true, {}, "546\r\n7\r\n" + rest + "32767\r\n" + locators},
        // Unticked, the ping is off whatever the box holds, even a slip.
        {u"2"_s, u""_s, u"5x"_s, false, {}, "2\r\n\r\n" + rest + "0\r\n" + locators},
    };
    for (const auto& [hours, minutes, ping, ticked, message, written] : rows) {
        SCOPED_TRACE(QStringList({hours, minutes, ping}).join(u' ').toStdString());
        w.tabs()->setCurrentIndex(MainWindow::SettingsTab);
        w.hoursBox()->setText(hours);
        w.minutesBox()->setText(minutes);
        w.pingBox()->setText(ping);
        w.pingCheckBox()->setChecked(ticked);
        click(u"cmdApply_Settings"_s);
        if (!message.isEmpty()) {
            EXPECT_EQ(p.desktop.lastMessage().text, message);
            EXPECT_EQ(p.desktop.lastMessage().icon, Desktop::Icon::Exclamation);
            EXPECT_EQ(p.dir.readBytes(u"Conf.ini"_s), before);
            continue;
        }
        EXPECT_EQ(p.dir.readBytes(u"Conf.ini"_s), written);
        const auto read = ConfFile::read(p.dir.path());
        ASSERT_TRUE(read);
        EXPECT_EQ(read->hoursText + u' ' + read->minutesText, hours + u' ' + minutes);
        EXPECT_EQ(w.pingCheckBox()->isChecked(), ticked) << "the reload shows the ping as it was left";
        p.dir.writeBytes(u"Conf.ini"_s, before);
    }
    EXPECT_EQ(p.desktop.endProgramCalls(), 0);

    p.main().model().LastIP = u"203.0.113.7"_s;
    p.calls.clear();
    w.tabs()->setCurrentIndex(MainWindow::SettingsTab);
    w.minutesBox()->setText(u"45"_s);
    w.machineOption()->setChecked(true);
    click(u"cmdApply_Settings"_s);
    EXPECT_EQ(p.desktop.lastMessage().text, u"Your settings have been applied"_s);
    EXPECT_EQ(p.calls.mid(0, 2), (QStringList{u"showSplash"_s, u"startCredentialCheck"_s})) << "reloaded";
    EXPECT_TRUE(w.machineOption()->isChecked()) << "applied values survive leaving the tab";
    EXPECT_EQ(p.main().model().LastIP, u"203.0.113.7"_s);

    ASSERT_TRUE(QDir(p.dir.path()).remove(u"Conf.ini"_s) && QDir(p.dir.path()).mkdir(u"Conf.ini"_s));
    click(u"cmdApply_Settings"_s);
    EXPECT_TRUE(p.desktop.lastMessage().text.startsWith(u"Failed to write the general configuration file."_s));
    EXPECT_EQ(p.desktop.endProgramCalls(), 1);
    EXPECT_EQ(p.desktop.ending(), Desktop::Ending::Failure);
}

// The account file holds the password: whatever the file mask, and even after someone opened the
// file to all, Apply leaves it readable by its owner alone.
TEST_F(MainWindowTest, AccountApplyNeedsATickedHostThenWritesTheTickedHostsForTheOwnerOnly)
{
    const QByteArray before = p.dir.readBytes(u"Account.ini"_s);
    w.checklist().Selected(u"www.example.com"_s, false);
    click(u"cmdApply_Account"_s);
    EXPECT_EQ(p.desktop.lastMessage().text, u"You must select at least one host to update."_s);
    EXPECT_EQ(p.dir.readBytes(u"Account.ini"_s), before);
    EXPECT_TRUE(p.calls.isEmpty());

    w.checklist().Selected(u"mail.example.com"_s, true);
    w.checklist().Selected(u"www.example.com"_s, true);
    w.passwordBox()->setText(u"new"_s);
    const QByteArray file = QFile::encodeName(p.dir.filePath(u"Account.ini"_s));
    ASSERT_EQ(::chmod(file.constData(), 0666), 0);
    const mode_t mask = ::umask(0);
    click(u"cmdApply_Account"_s);
    ::umask(mask);
    EXPECT_EQ(p.dir.readBytes(u"Account.ini"_s), "demo\r\nnew\r\nwww.example.com\r\nmail.example.com\r\n");
    struct stat info = {};
    ASSERT_EQ(::stat(file.constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777U, 0600U);
    EXPECT_EQ(p.desktop.lastMessage().text, u"Your settings have been applied"_s);
    EXPECT_EQ(p.calls.mid(0, 2), (QStringList{u"showSplash"_s, u"startCredentialCheck"_s})) << "reloaded";
}

TEST_F(MainWindowTest, LeavingATabUndoesWhatWasNotApplied)
{
    w.tabs()->setCurrentIndex(MainWindow::SettingsTab);
    w.hoursBox()->setText(u"9"_s);
    w.machineOption()->setChecked(true);
    w.versionCheckBox()->setChecked(false);
    w.pingBox()->setText(u"44"_s);
    w.pingCheckBox()->setChecked(false);
    delete w.locatorList()->takeItem(0);
    QTest::keyClick(w.tabs()->tabBar(), Qt::Key_Shift); // keeps what was taken on entering the tab
    w.tabs()->setCurrentIndex(MainWindow::AccountTab);
    EXPECT_EQ(w.hoursBox()->text() + w.pingBox()->text(), u"13"_s);
    EXPECT_TRUE(w.routerOption()->isChecked() && w.versionCheckBox()->isChecked() && w.pingCheckBox()->isChecked());
    EXPECT_EQ(w.locators(), (QStringList{u"loc1.example"_s, u"loc2.example"_s}));

    w.userNameBox()->setText(u"someone"_s);
    w.checklist().Selected(u"www.example.com"_s, false);
    w.checklist().Selected(u"mail.example.com"_s, true);
    w.tabs()->setCurrentIndex(MainWindow::StatusTab);
    EXPECT_EQ(w.userNameBox()->text(), u"demo"_s);
    EXPECT_TRUE(w.checklist().IsSelected(1) && !w.checklist().IsSelected(2));
}

TEST_F(MainWindowTest, ExitAsksFirstFromEveryTabAndFromTheTitleBar)
{
    w.show();
    for (const QString& way : {u"cmdExit(0)"_s, u"cmdExit(1)"_s, u"cmdExit(2)"_s, u"title bar"_s}) {
        SCOPED_TRACE(way.toStdString());
        p.desktop.clear();
        p.calls.clear();
        for (const auto answer : {Desktop::Answer::No, Desktop::Answer::Yes}) {
            p.desktop.queueAnswer(answer);
            way == u"title bar"_s ? void(w.close()) : click(way);
        }
        EXPECT_EQ(p.desktop.lastMessage().text,
                  u"Are you sure you wish to quit ?\r\nYour IP will no longer be updated"_s);
        EXPECT_EQ(p.desktop.endProgramCalls(), 1) << "after Yes only";
        EXPECT_EQ(p.calls, QStringList{u"RemoveTrayIcon"_s}) << "the icon goes before the program ends";
        EXPECT_TRUE(w.isVisible());
    }
    w.setWindowState(Qt::WindowMinimized);
    EXPECT_EQ(p.calls.constLast(), u"minimizeToTray"_s);
}

// The real desktop asks over the window in use, not in the middle of the screen.
TEST(WidgetDesktopTest, AQuestionOpensCentredOverTheActiveWindow)
{
    MainWindow window(u"127.0.0.1:8780/keepalive"_s, u"http://127.0.0.1:8780/"_s);
    window.move(30, 40);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    WidgetDesktop desktop;
    QPointer<QWidget> box;
    QPoint offset;
    QTimer::singleShot(0, &window, [&] {
        box = QApplication::activeModalWidget();
        offset = box->frameGeometry().center() - window.frameGeometry().center();
        box->close();
    });
    EXPECT_EQ(
        desktop.message(u"Exit"_s, u"Are you sure you wish to quit ?"_s, Desktop::Icon::None, Desktop::Buttons::YesNo),
        Desktop::Answer::No);
    EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();
    EXPECT_TRUE(box.isNull()) << "the box goes with its answer";
}

TEST_F(MainWindowTest, ResetAccountAsksThenHandsOverToTheWizard)
{
    p.desktop.queueAnswer(Desktop::Answer::Cancel);
    click(u"ResetAccount"_s);
    EXPECT_EQ(p.desktop.lastMessage().text, u"You sure you want to reconfigure your account settings?"_s);
    EXPECT_TRUE(p.calls.isEmpty());
    // An update answered while the box is open is held for the window, which is gone once it closes.
    ScriptedPageRequester& setip = p.requester(u"wb_setip"_s);
    setip.setGate(&p.desktop.gate());
    click(u"cmdForceUpdate"_s);
    p.desktop.whileOpen([&] { setip.completeWith(u"0=www.example.com"_s); });
    p.desktop.queueAnswer(Desktop::Answer::Ok);
    click(u"ResetAccount"_s);
    EXPECT_EQ(p.calls, (QStringList{u"openWizard"_s, u"unloadMainWindow"_s}));
    EXPECT_TRUE(p.dir.exists(u"Account.ini"_s)) << "no file changes until the wizard finishes";
    QTest::qWait(20);
    EXPECT_FALSE(p.main().log().text().contains(u"Completed updating."_s)) << "nothing runs for the discarded window";
}

TEST_F(MainWindowTest, ButtonsAskForTheirPages)
{
    for (const QStringList& row :
         {QStringList{u"cmdRefreshHosts"_s, u"wb_domains"_s, u"/ipupdate/domains.jsp?login=demo&unique="_s},
          QStringList{u"cmdForceUpdate"_s, u"wb_setip"_s, u"/dyn/update?login=demo&password=demo123&force=Y&"_s},
          QStringList{u"cmdCheckNow"_s, u"wb_updates"_s, u"/ipupdate/dyndata.txt?unique="_s}}) {
        click(row[0]);
        const QString asked = p.requester(row[1]).lastNavigation();
        EXPECT_TRUE(asked.startsWith(u"http://127.0.0.1:8780"_s + row[2])) << asked.toStdString();
    }
    emit w.homePageClicked();
    EXPECT_EQ(p.desktop.openedUrls(), QStringList{u"http://127.0.0.1:8780/"_s});
}

// Texts set in one go reach the box when the event loop runs: the last of them, every time.
TEST_F(MainWindowTest, TheResponseBoxShowsTheLastTextSet)
{
    for (const QString& last : {u"good 203.0.113.7\r\nsecond line"_s, u"Not updated. IP had not changed."_s}) {
        w.setResponseText(u"Updating ..."_s);
        w.setResponseText(last);
        QCoreApplication::processEvents();
        EXPECT_EQ(w.findChild<QPlainTextEdit*>(u"txtResponse"_s)->toPlainText(),
                  QString(last).replace(u"\r\n"_s, u"\n"_s));
    }
}
