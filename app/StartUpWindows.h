#pragma once

#include <QString>

class QWidget;

// The windows around the main one that the load sequence hands over to: the splash window, the
// setup wizard and the credential check. The application implements it; tests record the calls.
class StartUpWindows
{
public:
    virtual ~StartUpWindows();

    virtual void showSplash() = 0;
    virtual void closeSplash() = 0;
    virtual void setSplashStatus(const QString& text) = 0;
    virtual void openWizard() = 0;
    // Loads the credential check, which starts checking the main window's name and password.
    virtual void startCredentialCheck() = 0;
    // Reset Account: the main window is unloaded (its timers stop with it) once the call returns.
    virtual void unloadMainWindow() = 0;
    // The main window was minimized: it goes to the notification area where there is one.
    virtual void minimizeToTray(QWidget& window) = 0;
    virtual void RemoveTrayIcon() = 0;
};
