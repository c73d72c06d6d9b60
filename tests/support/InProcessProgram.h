#pragma once

#include "ClosedWizard.h"
#include "StartUpWindows.h"
#include "support/FakeClock.h"
#include "support/FakeDesktop.h"
#include "support/FakeMachineAddress.h"
#include "support/FakeNetworkWatch.h"
#include "support/ScriptedPageRequester.h"
#include "support/TemporaryAppDirectory.h"

#include <QMap>
#include <QNetworkAccessManager>
#include <QStringList>

#include <functional>
#include <memory>

class MainController;
class QuorvexApp;

// The program started in this process on a fresh application directory, a scripted desktop, a
// clock that stands still and a machine address the test sets. Two ways:
//  - scripted (no service host given): the main window alone for a service at 127.0.0.1:8780, its
//    page requesters scripted and reached by name, the windows around it (splash, wizard,
//    credential check, notification area) only recorded in calls;
//  - real: the whole program (splash, main window, credential check, wizard) on real HTTP
//    requesters against a service on loopback, such as a running quorvex-sim.
class InProcessProgram : public StartUpWindows
{
public:
    explicit InProcessProgram(const QString& serviceHost = QString());
    ~InProcessProgram() override;

    QString host() const { return m_host; }
    // The service's IP-echo pages: the wizard's default locators.
    QStringList defaultLocators() const
    {
        return {m_host + QStringLiteral("/echo1"), m_host + QStringLiteral("/echo2")};
    }
    // Writes the three settings files; Update.ini names the service's gateway, checked on
    // checkedOn (today by default, so that no version check is due).
    void seed(const QByteArray& conf = "1\r\n5\r\n 0 \r\n 1 \r\n3\r\nloc1.example\r\nloc2.example\r\n",
              const QByteArray& account = "demo\r\ndemo123\r\nwww.example.com\r\nmail.example.com\r\n",
              const QString& checkedOn = QString());
    // Scripted: runs the main window's load sequence (again on each call). Real: starts the
    // program once and waits until its splash window has loaded the main window.
    MainController& load();
    // The main window's controller; in the real program the current one.
    MainController& main();
    QuorvexApp& app() { return *m_app; }
    ScriptedPageRequester& requester(const QString& name) { return *m_requesters.value(name); }
    // The log's entries with the clock's time stamp removed.
    QStringList logEntries();
    // Runs the event loop until condition holds; false when it did not in time.
    static bool waitFor(const std::function<bool()>& condition, int milliseconds = 15000);

    void showSplash() override { calls.append(QStringLiteral("showSplash")); }
    void closeSplash() override { calls.append(QStringLiteral("closeSplash")); }
    void setSplashStatus(const QString& text) override { calls.append(QStringLiteral("splashStatus:") + text); }
    void openWizard() override { calls.append(QStringLiteral("openWizard")); }
    void startCredentialCheck() override { calls.append(QStringLiteral("startCredentialCheck")); }
    void unloadMainWindow() override { calls.append(QStringLiteral("unloadMainWindow")); }
    void minimizeToTray(QWidget&) override { calls.append(QStringLiteral("minimizeToTray")); }
    void RemoveTrayIcon() override { calls.append(QStringLiteral("RemoveTrayIcon")); }

    TemporaryAppDirectory dir;
    FakeClock clock;
    FakeDesktop desktop;
    FakeMachineAddress machine;
    FakeNetworkWatch watch;
    ClosedWizard wizard;
    QStringList calls;

private:
    QString m_host;
    bool m_real;
    QNetworkAccessManager m_network;
    QMap<QString, ScriptedPageRequester*> m_requesters;
    // Last, so that the program goes before everything it points at.
    std::unique_ptr<MainController> m_main;
    std::unique_ptr<QuorvexApp> m_app;
};
