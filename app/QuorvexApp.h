#pragma once

#include "CurrentWizard.h"
#include "ServiceUrls.h"
#include "SettingsDirectory.h"
#include "StartUpWindows.h"
#include "TrayIcon.h"
#include "WizardMainSide.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <memory>

class Clock;
class CredentialCheck;
class Desktop;
class MachineAddress;
class MainController;
class NetworkWatch;
class PageRequester;
class QNetworkAccessManager;
class SplashWindow;

// The running program: the splash window, the main window's controller (made when the splash
// window's timer fires, and made anew when the wizard finishes), the setup wizard, the
// credential check and the notification-area icon, and the hand-overs between them.
class QuorvexApp final : public QObject, public StartUpWindows, public WizardMainSide
{
    Q_OBJECT

public:
    // What the program runs on: the real platform and the build's hosts in main(), fakes and
    // a simulator in tests.
    struct Environment
    {
        Desktop& desktop;
        const Clock& clock;
        const MachineAddress& machine;
        NetworkWatch& networkWatch;
        QNetworkAccessManager& network;
        SettingsDirectory settings;
        QString serviceHost;
        QString keepAliveSite;
        QStringList defaultLocators;
    };

    explicit QuorvexApp(const Environment& environment);
    ~QuorvexApp() override;

    // StartUpWindows; startCredentialCheck and RemoveTrayIcon serve the wizard as well.
    void showSplash() override;
    void closeSplash() override;
    void setSplashStatus(const QString& text) override;
    void openWizard() override;
    void startCredentialCheck() override;
    void unloadMainWindow() override;
    void minimizeToTray(QWidget& window) override;
    void RemoveTrayIcon() override;

    // WizardMainSide
    void useDefaultLocatorsAndLookUp() override;
    QString machineAddress() const override;
    QString configPath() const override;
    void restartFromSavedSettings() override;

    MainController* main() const { return m_main.get(); }
    SetupWizard* wizard() const { return m_wizard.get(); }
    SplashWindow* splash() const;
    CredentialCheck* credentialCheck() const;

private:
    void loadMainWindow();
    // The wizard works with the main window's lists and requesters even after Reset Account
    // has unloaded it: a fresh one is made for it, without running the load sequence.
    MainController& mainForWizard();
    std::unique_ptr<MainController> makeMain();
    PageRequester* makeRequester(const QString& name, QObject* parent);

    Environment m_env;
    ServiceUrls m_urls;
    CurrentWizard m_wizard;
    TrayIcon m_tray;
    QPointer<SplashWindow> m_splash;
    std::unique_ptr<MainController> m_main;
    QPointer<CredentialCheck> m_check;
};
