#pragma once

#include "EventLog.h"
#include "ExitStatus.h"
#include "HeadlessDesktop.h"
#include "HeadlessForm.h"
#include "PageRequester.h"
#include "RetryPolicy.h"
#include "ServiceUrls.h"
#include "SettingsDirectory.h"
#include "SettingsModel.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>

class Clock;
class KeepAlivePing;
class MachineAddress;
class NetworkChangeUpdate;
class NetworkWatch;
class RouterAddressLookup;
class SettingsLoad;
class UpdateExchange;
class UpdateScheduler;
class VersionCheck;

// The updater without a window: loads the three settings files of the application directory,
// validates the account once, sends a forced update, then runs the scheduled cycle and the
// keep-alive ping, with the window program's own exchanges. A network fault never ends it: the
// validation, the forced update and the version page are sent again every minute until answered.
// It ends (ended()) on a refused login or, at start, unreadable settings only; reload() reads the
// files again and keeps the settings it has when they cannot be read.
class HeadlessUpdater : public QObject
{
    Q_OBJECT

public:
    using RequesterFactory = std::function<PageRequester*(const QString& name, QObject* parent)>;

    struct Services
    {
        const Clock& clock;
        const MachineAddress& machine;
        NetworkWatch& watch;
        RequesterFactory makeRequester;
        SettingsDirectory settings;
        QString serviceHost;
        QString keepAliveSite;
    };

    explicit HeadlessUpdater(const Services& services, QObject* parent = nullptr);
    ~HeadlessUpdater() override;

    // The start: the files, then the validation.
    void start();
    // SIGHUP: the files again; a change of the hosts, the address source or the locators sends
    // a forced update once the new address has been looked up.
    void reload();

    EventLog& log() { return m_log; }
    const SettingsModel& model() const { return m_model; }
    RetryPolicy& validationRetry() { return *m_validationRetry; }
    RetryPolicy& forcedUpdateRetry() { return *m_forcedRetry; }
    RetryPolicy& versionRetry() { return *m_versionRetry; }
    QTimer& forcedAfterLookup() { return m_forcedAfterLookup; }
    UpdateScheduler& scheduler() const { return *m_scheduler; }
    NetworkChangeUpdate& networkChange() const { return *m_networkChange; }

signals:
    void ended(ExitStatus status);
    // The settings are loaded (once, at start): the service manager may count it as started.
    void ready();
    // Where it stands, in one line, for the service manager.
    void statusChanged(const QString& text);
    // A log entry for the journal, as EventLog::appended gives it.
    void journal(const QString& chunk, EventLog::Level level);

private:
    // Where the program stands: each stage has one meaning for the log, the status line and the
    // answers that come in.
    enum class Stage {
        Starting,             // the settings not read yet (a spoilt one ends the program)
        CheckingAccount,      // the validation sent, or waiting to be sent again
        SendingForcedUpdate,  // the forced update waiting for an address, or to be sent again
        AwaitingForcedAnswer, // the forced update sent
        Running,              // the scheduled cycle
        Ended
    };

    // What a change of sends a forced update on a reload.
    struct Selection
    {
        QStringList hosts;
        bool useRouterAddress = true;
        QStringList locators;
        bool operator==(const Selection&) const = default;
    };

    void load();
    void validate();
    void onValidation(const QString& url, const QString& text, PageRequester::Outcome outcome);
    // The forced update, once the router's address is known (a lookup's wait at most).
    void forceUpdateWithAddress();
    // A forced update when the lookup under way delivers, or after the cycle's lookup wait.
    void afterLookup();
    void sendForcedUpdate();
    void onUpdateEnded(bool answered);
    // How long the update gateway asked to be left alone from now; 0 when it did not.
    std::chrono::milliseconds gatewayWait() const;
    // "Running; <address> sent at <time>; next lookup at <time>".
    void reportRunning();
    void onEnding(Desktop::Ending ending, const QString& reason);
    // Why the settings files cannot be loaded (a file unreadable, no host); empty when they can.
    QString settingsProblem() const;
    void end(ExitStatus status, const QString& message);
    void setStage(Stage stage);

    Services m_services;
    ServiceUrls m_urls;
    SettingsModel m_model;
    EventLog m_log;
    HeadlessForm m_form;
    HeadlessDesktop m_desktop;
    PageRequester* m_wbAccount = nullptr;
    PageRequester* m_wbExternal = nullptr;
    PageRequester* m_wbUpdates = nullptr;
    PageRequester* m_wbKeepalive = nullptr;
    PageRequester* m_wbSetip = nullptr;
    std::unique_ptr<RouterAddressLookup> m_lookup;
    std::unique_ptr<UpdateExchange> m_updateExchange;
    std::unique_ptr<VersionCheck> m_versionCheck;
    std::unique_ptr<SettingsLoad> m_settingsLoad;
    std::unique_ptr<UpdateScheduler> m_scheduler;
    std::unique_ptr<KeepAlivePing> m_keepAlive;
    std::unique_ptr<NetworkChangeUpdate> m_networkChange;
    std::unique_ptr<RetryPolicy> m_validationRetry;
    std::unique_ptr<RetryPolicy> m_forcedRetry;
    std::unique_ptr<RetryPolicy> m_versionRetry;
    QTimer m_tmrPing;
    QTimer m_forcedAfterLookup;
    Selection m_selection;
    Stage m_stage = Stage::Starting;
    // A reload changed the selection while the forced update was in flight: one more follows it.
    bool m_forceAgain = false;
    // The address last reported as sent, and when it was first seen answered.
    QString m_lastReported;
    QString m_sentAt;
};
