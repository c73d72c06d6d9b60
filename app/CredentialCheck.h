#pragma once

#include "PageRequester.h"

#include <QObject>
#include <QTimer>

#include <memory>

class CheckWindow;
class Clock;
class Desktop;
class MainController;
class ServiceUrls;
class SetupWizardSide;
class StartUpWindows;

// frmCheck's work: one second after it is loaded it sends the name and password (the wizard's
// while the wizard is open, else the main window's) to the service's validation page, and on the
// answer carries the program on, or reports the failure in the main window. It is unloaded when
// done (finished()); unloading abandons a page still loading.
class CredentialCheck : public QObject
{
    Q_OBJECT

public:
    struct Parts
    {
        PageRequester& wb;
        MainController& main;
        StartUpWindows& windows;
        SetupWizardSide& wizard;
        Desktop& desktop;
        const Clock& clock;
        const ServiceUrls& urls;
    };

    // show: from the wizard the window is shown; at start-up the check runs unseen.
    CredentialCheck(const Parts& parts, bool show, QObject* parent = nullptr);
    ~CredentialCheck() override;

    CheckWindow& window() const { return *m_window; }
    QTimer& timer() { return m_tmr; }

    void tmr_Timer();
    void cmdCancel_Click();

signals:
    // The check is over: the owner unloads it.
    void finished();

private:
    void onDocumentComplete(const QString& url, const QString& text);
    void succeed();
    void fail();
    void unload();

    Parts m_parts;
    std::unique_ptr<CheckWindow> m_window;
    QTimer m_tmr;
    bool m_done = false;
};
