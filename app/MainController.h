#pragma once

#include "EventLog.h"
#include "ServiceUrls.h"
#include "SettingsDirectory.h"
#include "SettingsModel.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>

class Clock;
class Desktop;
class DomainHostLists;
class KeepAlivePing;
class LocatorListEditor;
class MachineAddress;
class MainWindow;
class NetworkChangeUpdate;
class NetworkWatch;
class PageRequester;
class RouterAddressLookup;
class SettingsLoad;
class StartUpWindows;
class UpdateExchange;
class UpdateScheduler;
class VersionCheck;
class WizardHostStep;

// The loaded main window: its shared state, its hidden page requesters and exchanges, and what
// its own buttons and the load sequence do. It lives from the main window's load to its unload;
// a fresh one starts with fresh state.
class MainController : public QObject
{
    Q_OBJECT

public:
    using RequesterFactory = std::function<PageRequester*(const QString& name, QObject* parent)>;

    struct Services
    {
        Desktop& desktop;
        const Clock& clock;
        const MachineAddress& machine;
        NetworkWatch& watch;
        StartUpWindows& windows;
        WizardHostStep& wizardHosts;
        RequesterFactory makeRequester;
        SettingsDirectory settings;
        QString serviceHost;
        QString keepAliveSite;
        // The add-locator dialog's example: the service's first IP-echo host.
        QString exampleLocator;
    };

    explicit MainController(const Services& services, QObject* parent = nullptr);
    ~MainController() override;

    void Form_Load();
    // Before the window goes: its timers stop and its pages are abandoned, so that nothing held
    // for it behind a message box runs once it is gone.
    void unload();
    void LoadSettings();
    void RememberSettings();
    void GetDomains();
    void GetRemoteIP();
    // The setup wizard's step 3: the four default locators, then a lookup.
    void useLocators(const QStringList& locators);

    void cmdApply_Account_Click();
    void ResetAccount_Click();
    void cmdApply_Settings_Click();
    void Form_Resize();
    void cmdExit_Click();
    void cmdForceUpdate_Click();
    void cmdCheckNow_Click();

    MainWindow& window() const { return *m_window; }
    SettingsModel& model() { return m_model; }
    EventLog& log() { return m_log; }
    UpdateScheduler& scheduler() const { return *m_scheduler; }
    UpdateExchange& updateExchange() const { return *m_updateExchange; }
    QTimer& pingTimer() { return m_tmrPing; }
    KeepAlivePing& keepAlive() const { return *m_keepAlive; }
    NetworkChangeUpdate& networkChange() const { return *m_networkChange; }
    LocatorListEditor& locatorEditor() const { return *m_locatorEditor; }
    const QStringList& settingsSnapshot() const { return m_lstSettingsTab; }
    const QStringList& accountSnapshot() const { return m_lstAccountsTab; }
    DomainHostLists& hostLists() const { return *m_hostLists; }

signals:
    // A lookup found the router's address (the wizard shows it too while it is open).
    void routerAddressFound(const QString& address);

private:
    void takeAccountSnapshot();
    void restoreAccountSnapshot();
    void takeSettingsSnapshot();
    void restoreSettingsSnapshot();
    void readMachineAddress();
    void runWizardInstead();

    Services m_services;
    ServiceUrls m_urls;
    SettingsModel m_model;
    EventLog m_log;
    std::unique_ptr<MainWindow> m_window;
    QTimer m_tmrPing;

    PageRequester* m_wbExternal = nullptr;
    PageRequester* m_wbUpdates = nullptr;
    PageRequester* m_wbKeepalive = nullptr;
    PageRequester* m_wbAccount = nullptr;
    PageRequester* m_wbDomains = nullptr;
    PageRequester* m_wbHosts = nullptr;
    PageRequester* m_wbSetip = nullptr;

    std::unique_ptr<RouterAddressLookup> m_lookup;
    std::unique_ptr<UpdateExchange> m_updateExchange;
    std::unique_ptr<VersionCheck> m_versionCheck;
    std::unique_ptr<SettingsLoad> m_settingsLoad;
    std::unique_ptr<UpdateScheduler> m_scheduler;
    std::unique_ptr<DomainHostLists> m_hostLists;
    std::unique_ptr<KeepAlivePing> m_keepAlive;
    std::unique_ptr<NetworkChangeUpdate> m_networkChange;
    std::unique_ptr<LocatorListEditor> m_locatorEditor;

    // Tab snapshots; for the Account tab, which of its host entries were checked.
    QStringList m_lstAccountsTab;
    QList<bool> m_lstAccountsTabSelected;
    QStringList m_lstSettingsTab;
};
