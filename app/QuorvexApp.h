#pragma once

#include "ClosedWizard.h"
#include "InterfaceMachineAddress.h"
#include "StartUpWindows.h"
#include "SystemClock.h"
#include "TrayIcon.h"
#include "WidgetDesktop.h"

#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>

#include <memory>

class CredentialCheck;
class PageRequester;
class MainController;
class SplashWindow;

// The running program: the real platform, the one network manager, the splash window, and the
// main window's controller, made when the splash window's timer fires.
class QuorvexApp : public QObject, public StartUpWindows
{
    Q_OBJECT

public:
    QuorvexApp();
    ~QuorvexApp() override;

    void showSplash() override;
    void closeSplash() override;
    void setSplashStatus(const QString& text) override;
    void openWizard() override;
    void startCredentialCheck() override;
    void unloadMainWindow() override;
    void minimizeToTray(QWidget& window) override;
    void removeTrayIcon() override;

private:
    void loadMainWindow();
    PageRequester* makeRequester(const QString& name, QObject* parent);

    WidgetDesktop m_desktop;
    SystemClock m_clock;
    InterfaceMachineAddress m_machine;
    QNetworkAccessManager m_network;
    ClosedWizard m_wizard;
    TrayIcon m_tray;
    QPointer<SplashWindow> m_splash;
    std::unique_ptr<MainController> m_main;
    QPointer<CredentialCheck> m_check;
};
