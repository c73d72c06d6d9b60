#pragma once

#include "ClosedWizard.h"
#include "CredentialCheck.h"
#include "HttpPageRequester.h"
#include "MainController.h"
#include "ServiceUrls.h"
#include "app/RecordingWindows.h"
#include "support/FakeClock.h"
#include "support/FakeDesktop.h"
#include "support/FakeMachineAddress.h"

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QString>

#include <memory>
#include <vector>

class SimulatorProcess;
class TemporaryAppDirectory;

// The program's start as it runs, in one process: a main window on real HTTP requesters against
// a running simulator, the credential check made for real (its one-second timer run at once),
// in an application directory seeded for a start that needs no version check.
class SimulatedStart : public RecordingWindows
{
public:
    SimulatedStart(SimulatorProcess& sim, TemporaryAppDirectory& dir);
    ~SimulatedStart() override;
    SimulatedStart(const SimulatedStart&) = delete;
    SimulatedStart& operator=(const SimulatedStart&) = delete;

    // "Conf.ini" with the simulator's first echo page as the one locator and no keep-alive,
    // "Update.ini" checked today, and the account file as given.
    void seed(const QByteArray& account);
    // Creates the main window and runs its load sequence.
    MainController& load();
    MainController& main() { return *m_main; }

    void startCredentialCheck() override;

    FakeClock clock;
    FakeDesktop desktop;

private:
    SimulatorProcess& m_sim;
    TemporaryAppDirectory& m_dir;
    FakeMachineAddress m_machine;
    ClosedWizard m_wizard;
    QNetworkAccessManager m_network;
    std::unique_ptr<ServiceUrls> m_urls;
    std::unique_ptr<MainController> m_main;
    std::unique_ptr<HttpPageRequester> m_wb;
    std::unique_ptr<CredentialCheck> m_check;
    std::vector<std::unique_ptr<QObject>> m_earlier;
};
