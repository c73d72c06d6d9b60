#include "DomainList.h"
#include "MainController.h"
#include "MainWindow.h"
#include "QuorvexApp.h"
#include "SetupWizard.h"
#include "support/FakeClock.h"
#include "support/FakeDesktop.h"
#include "support/FakeMachineAddress.h"
#include "support/QtPrinters.h"
#include "support/SimulatorProcess.h"
#include "support/TemporaryAppDirectory.h"

#include <QCheckBox>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

bool waitUntil(const std::function<bool()>& condition, int milliseconds = 15000)
{
    QDeadlineTimer deadline(milliseconds);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QTest::qWait(20);
    }
    return true;
}

QCheckBox* visibleHostBox(QWidget& window, const QString& host)
{
    for (QCheckBox* box : window.findChildren<QCheckBox*>()) {
        if (box->text() == host && box->isVisible()) {
            return box;
        }
    }
    return nullptr;
}

bool gatewayReceived(SimulatorProcess& sim, const QString& query)
{
    const QStringList log = sim.requestLog();
    return std::any_of(log.cbegin(), log.cend(),
                       [&](const QString& line) { return line.startsWith(u"GET /dyn/update?"_s + query); });
}

} // namespace

// A first start in one process, as a user meets it: the wizard driven by clicks and keys against
// the simulator over real HTTP, then the program running from the files it wrote.
TEST(WizardEndToEnd, FirstStartThroughTheWizardToTheFirstForcedUpdate)
{
    SimulatorProcess sim;
    ASSERT_TRUE(sim.start()) << sim.errorString().toStdString();
    ASSERT_TRUE(sim.control(u"/control/public-ip?value=198.51.100.61"_s));
    TemporaryAppDirectory dir;
    FakeDesktop desktop;
    FakeClock clock;
    FakeMachineAddress machine;
    QNetworkAccessManager network;
    network.setProxy(QNetworkProxy::NoProxy);
    const QString host = sim.hostAndPort();
    const QStringList locators{host + u"/whatismyip"_s, host + u"/echo1"_s, host + u"/echo2"_s, host + u"/echo3"_s};
    QuorvexApp app(
        QuorvexApp::Environment{desktop, clock, machine, network, dir.path(), host, host + u"/keepalive"_s, locators});

    ASSERT_TRUE(waitUntil([&] { return app.wizard() && app.wizard()->isVisible(); }));
    EXPECT_TRUE(dir.exists(u"Update.ini"_s)) << "the first start fetched the version page";
    SetupWizard& wizard = *app.wizard();
    auto* next = wizard.findChild<QPushButton*>(u"cmdNext"_s);
    QTest::mouseClick(next, Qt::LeftButton);
    QTest::keyClicks(wizard.findChild<QLineEdit*>(u"txtUser"_s), u"demo"_s);
    QTest::keyClicks(wizard.findChild<QLineEdit*>(u"txtPass"_s), u"demo123"_s);
    QTest::mouseClick(next, Qt::LeftButton);
    EXPECT_FALSE(wizard.isEnabled()) << "the wizard waits for the credential check";

    ASSERT_TRUE(waitUntil([&] { return wizard.Step() == 2 && next->isEnabled(); }))
        << "step " << wizard.Step() << ", messages " << desktop.messages().size();
    QCheckBox* www = visibleHostBox(wizard, u"www.example.com"_s);
    ASSERT_NE(www, nullptr);
    QTest::mouseClick(www, Qt::LeftButton, {}, QPoint(6, www->height() / 2));
    QTest::mouseClick(next, Qt::LeftButton); // to the interval
    QTest::mouseClick(next, Qt::LeftButton); // 0 hours 15 minutes, to the address source
    ASSERT_TRUE(waitUntil([&] { return wizard.findChild<QLabel*>(u"lblremote"_s)->text() == u"198.51.100.61"_s; }));
    QTest::mouseClick(next, Qt::LeftButton); // to the keep-alive
    QTest::mouseClick(next, Qt::LeftButton); // ping every 5 minutes, to the finish page
    EXPECT_EQ(next->text(), u"&Finish"_s);
    QTest::mouseClick(next, Qt::LeftButton);

    EXPECT_EQ(dir.readBytes(u"Account.ini"_s), "demo\r\ndemo123\r\nwww.example.com\r\n");
    EXPECT_EQ(dir.readBytes(u"Conf.ini"_s),
              (u"0\r\n15\r\n 0 \r\n1\r\n5\r\n"_s + locators.join(u"\r\n"_s) + u"\r\n"_s).toUtf8());

    // The fresh main window checks the version (the wizard's placeholder date), the credentials,
    // lists the hosts and sends the first forced update for the ticked one.
    ASSERT_TRUE(waitUntil([&] {
        return gatewayReceived(
            sim, u"login=demo&password=demo123&force=Y&host=www.example.com&myip=198.51.100.61&unique="_s);
    })) << sim.requestLog().join(u'\n').toStdString();
    ASSERT_TRUE(waitUntil([&] { return app.main() && app.main()->window().isVisible(); }));
    EXPECT_TRUE(waitUntil([&] { return app.main()->log().text().contains(u"Completed updating."_s); }));
    EXPECT_TRUE(app.main()->window().checklist().IsSelected(1));
    EXPECT_EQ(app.wizard(), nullptr);
    EXPECT_TRUE(QString::fromUtf8(sim.get(u"/control/records"_s)).contains(u"www.example.com\t198.51.100.61"_s));
    EXPECT_EQ(desktop.messages().size(), 0) << desktop.lastMessage().text.toStdString();
}

// Reset Account unloads the main window; the wizard then works with a fresh one and the program
// restarts from what it wrote.
TEST(WizardEndToEnd, ResetAccountRunsTheWizardAgainAndTheNewSelectionIsUpdated)
{
    SimulatorProcess sim;
    ASSERT_TRUE(sim.start()) << sim.errorString().toStdString();
    TemporaryAppDirectory dir;
    FakeDesktop desktop;
    FakeClock clock;
    FakeMachineAddress machine;
    QNetworkAccessManager network;
    network.setProxy(QNetworkProxy::NoProxy);
    const QString host = sim.hostAndPort();
    dir.writeBytes(u"Update.ini"_s,
                   (sim.baseUrl() + u"/dyn/update\r\n1.3\r\n"_s + clock.todayText() + u"\r\n"_s).toUtf8());
    dir.writeBytes(u"Conf.ini"_s, (u"0\r\n15\r\n 0 \r\n 1 \r\n0\r\n"_s + host + u"/echo1\r\n"_s).toUtf8());
    dir.writeBytes(u"Account.ini"_s, "demo\r\ndemo123\r\nwww.example.com\r\n");
    QuorvexApp app(QuorvexApp::Environment{desktop,
                                           clock,
                                           machine,
                                           network,
                                           dir.path(),
                                           host,
                                           host + u"/keepalive"_s,
                                           {host + u"/echo1"_s, host + u"/echo2"_s}});
    ASSERT_TRUE(
        waitUntil([&] { return gatewayReceived(sim, u"login=demo&password=demo123&force=Y&host=www.example.com"_s); }));

    desktop.queueAnswer(Desktop::Answer::Ok);
    app.main()->ResetAccount_Click();
    ASSERT_TRUE(waitUntil([&] { return app.wizard() && app.wizard()->isVisible() && !app.main(); }))
        << "the wizard opens and the main window is unloaded";
    SetupWizard& wizard = *app.wizard();
    auto* next = wizard.findChild<QPushButton*>(u"cmdNext"_s);
    QTest::mouseClick(next, Qt::LeftButton);
    QTest::keyClicks(wizard.findChild<QLineEdit*>(u"txtUser"_s), u"demo"_s);
    QTest::keyClicks(wizard.findChild<QLineEdit*>(u"txtPass"_s), u"demo123"_s);
    QTest::mouseClick(next, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return wizard.Step() == 2 && next->isEnabled(); }));
    QCheckBox* mail = visibleHostBox(wizard, u"mail.example.com"_s);
    ASSERT_NE(mail, nullptr);
    QTest::mouseClick(mail, Qt::LeftButton, {}, QPoint(6, mail->height() / 2));
    for (int step = 2; step <= 6; ++step) {
        QTest::mouseClick(next, Qt::LeftButton);
    }
    EXPECT_EQ(dir.readBytes(u"Account.ini"_s), "demo\r\ndemo123\r\nmail.example.com\r\n");
    EXPECT_TRUE(waitUntil([&] {
        return gatewayReceived(sim, u"login=demo&password=demo123&force=Y&host=mail.example.com"_s);
    })) << sim.requestLog().join(u'\n').toStdString();
    EXPECT_TRUE(waitUntil([&] { return app.main() && app.main()->window().isVisible(); }));
    EXPECT_EQ(desktop.messages().size(), 1) << desktop.lastMessage().text.toStdString();
}
