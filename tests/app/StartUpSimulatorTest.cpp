#include "ClosedWizard.h"
#include "CredentialCheck.h"
#include "DomainList.h"
#include "EventLog.h"
#include "HttpPageRequester.h"
#include "MainController.h"
#include "MainWindow.h"
#include "RecordingWindows.h"
#include "SettingsModel.h"
#include "UpdateExchange.h"
#include "UpdateScheduler.h"
#include "support/FakeClock.h"
#include "support/FakeDesktop.h"
#include "support/FakeMachineAddress.h"
#include "support/QtPrinters.h"
#include "support/SimulatorProcess.h"
#include "support/TemporaryAppDirectory.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

bool waitUntil(const std::function<bool()>& condition, int milliseconds = 10000)
{
    QDeadlineTimer deadline(milliseconds);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// The windows around the main one as the program has them: with checks on, the credential
// check is made for real and its one-second timer run at once.
class SimulatorWindows : public RecordingWindows
{
public:
    void startCredentialCheck() override
    {
        RecordingWindows::startCredentialCheck();
        if (!runChecks) {
            return;
        }
        wb = std::make_unique<HttpPageRequester>(*network);
        check = std::make_unique<CredentialCheck>(
            CredentialCheck::Parts{*wb, *main, *this, wizard, *desktop, *clock, *urls}, false);
        check->tmr_Timer();
    }

    bool runChecks = false;
    QNetworkAccessManager* network = nullptr;
    MainController* main = nullptr;
    Desktop* desktop = nullptr;
    const Clock* clock = nullptr;
    const ServiceUrls* urls = nullptr;
    ClosedWizard wizard;
    std::unique_ptr<HttpPageRequester> wb;
    std::unique_ptr<CredentialCheck> check;
};

// A main window on real HTTP requesters against a simulator, with files seeded for a start
// that checks no version.
class StartUpAgainstSimulator : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim.start()) << sim.errorString().toStdString();
        network.setProxy(QNetworkProxy::NoProxy);
        dir.writeBytes(u"Update.ini"_s,
                       (sim.baseUrl() + u"/dyn/update\r\n1.3\r\n"_s + clock.todayText() + u"\r\n"_s).toUtf8());
    }

    void seed(const QString& locatorPath, const QByteArray& account)
    {
        dir.writeBytes(u"Conf.ini"_s,
                       (u"0\r\n5\r\n 0 \r\n 1 \r\n0\r\n"_s + sim.hostAndPort() + locatorPath + u"\r\n"_s).toUtf8());
        dir.writeBytes(u"Account.ini"_s, account);
    }

    MainController& loadMain()
    {
        MainController::Services services{desktop,
                                          clock,
                                          machine,
                                          windows,
                                          windows.wizard,
                                          [this](const QString& name, QObject* parent) -> PageRequester* {
                                              auto* requester = new HttpPageRequester(network, parent);
                                              requester->setObjectName(name);
                                              return requester;
                                          },
                                          dir.path(),
                                          sim.hostAndPort(),
                                          sim.hostAndPort() + u"/keepalive"_s,
                                          sim.hostAndPort() + u"/echo1"_s};
        m_main = std::make_unique<MainController>(services);
        windows.network = &network;
        windows.main = m_main.get();
        windows.desktop = &desktop;
        windows.clock = &clock;
        urls = std::make_unique<ServiceUrls>(sim.hostAndPort());
        windows.urls = urls.get();
        m_main->Form_Load();
        return *m_main;
    }

    QStringList gatewayRequests()
    {
        QStringList requests;
        for (const QString& line : sim.requestLog()) {
            if (line.startsWith(u"GET /dyn/update?"_s)) {
                requests.append(line);
            }
        }
        return requests;
    }

    SimulatorProcess sim;
    TemporaryAppDirectory dir;
    FakeClock clock;
    FakeDesktop desktop;
    FakeMachineAddress machine;
    QNetworkAccessManager network;
    std::unique_ptr<ServiceUrls> urls; // the simulator's port is known once it runs
    SimulatorWindows windows;
    std::unique_ptr<MainController> m_main;
};

} // namespace

// From a start with seeded files, over real HTTP, to the update the service records.
TEST_F(StartUpAgainstSimulator, SeededStartEndsInAGatewayRequestWithTheHostsAndTheLookedUpAddress)
{
    ASSERT_TRUE(sim.control(u"/control/public-ip?value=198.51.100.77"_s));
    seed(u"/echo1"_s, "demo\r\ndemo123\r\nwww.example.com\r\nmail.example.com\r\n");
    MainController& main = loadMain();
    ASSERT_TRUE(waitUntil([&] { return main.window().remoteText() == u"198.51.100.77"_s; }))
        << main.window().remoteText().toStdString();
    EXPECT_TRUE(windows.calls.contains(u"startCredentialCheck"_s));

    // What a successful credential check and host listing lead to: the first forced update.
    main.window().setLastText(u"Updating ..."_s);
    main.model().Force = 1;
    main.updateExchange().UpdateIP();
    ASSERT_TRUE(waitUntil([&] { return main.log().text().contains(u"Completed updating."_s); }))
        << main.log().text().toStdString();

    EXPECT_TRUE(main.log().text().contains(u" - All selected domains were updated.\r\n"_s));
    EXPECT_EQ(main.model().LastIP, u"198.51.100.77"_s);
    const QStringList gateway = gatewayRequests();
    ASSERT_EQ(gateway.size(), 1);
    EXPECT_TRUE(gateway.first().startsWith(
        u"GET /dyn/update?login=demo&password=demo123&force=Y&host=www.example.com;mail.example.com"
        u"&myip=198.51.100.77&unique="_s));
    const QStringList requests = sim.requestLog();
    EXPECT_LT(requests.indexOf(u"GET /echo1"_s), requests.indexOf(gateway.first()));
    const QString records = QString::fromUtf8(sim.get(u"/control/records"_s));
    EXPECT_TRUE(records.contains(u"www.example.com\t198.51.100.77"_s)) << records.toStdString();
    EXPECT_TRUE(records.contains(u"mail.example.com\t198.51.100.77"_s));
}

TEST_F(StartUpAgainstSimulator, FullStartListsTheAccountTicksTheSavedHostsAndForcesOneUpdate)
{
    ASSERT_TRUE(sim.control(u"/control/public-ip?value=198.51.100.23"_s));
    seed(u"/echo2"_s, "demo\r\ndemo123\r\nhome.example.net\r\n");
    windows.runChecks = true;
    MainController& main = loadMain();

    ASSERT_TRUE(waitUntil([&] { return main.log().text().contains(u"Completed updating."_s); }))
        << main.log().text().toStdString();
    EXPECT_TRUE(main.window().isVisible());
    EXPECT_EQ(desktop.messages().size(), 0);
    const HostChecklist& list = main.window().checklist();
    QStringList hosts;
    for (int i = 1; i < list.ListCount(); ++i) {
        hosts.append(list.List(i) + (list.IsSelected(i) ? u" [x]"_s : QString()));
    }
    EXPECT_EQ(hosts, (QStringList{u"www.example.com"_s, u"mail.example.com"_s, u"home.example.net [x]"_s}));
    EXPECT_EQ(main.model().StartUp, 0);
    EXPECT_TRUE(main.scheduler().timer().isActive());

    const QStringList gateway = gatewayRequests();
    ASSERT_EQ(gateway.size(), 1);
    EXPECT_TRUE(gateway.first().contains(u"&force=Y&host=home.example.net&myip=198.51.100.23&unique="_s))
        << gateway.first().toStdString();
    const QString records = QString::fromUtf8(sim.get(u"/control/records"_s));
    EXPECT_TRUE(records.contains(u"home.example.net\t198.51.100.23"_s)) << records.toStdString();
    EXPECT_FALSE(records.contains(u"www.example.com\t198.51.100.23"_s));
}
