#pragma once

#include <QString>
#include <QStringList>

// The main window as the exchanges, the address lookup and the scheduler see it: the Status
// tab's labels, which they read and write, and the working copies of the settings (the
// controls of the Account and Settings tabs), which they read. The window implements it; tests
// use a plain fake.
class MainForm
{
public:
    virtual ~MainForm();

    virtual QString responseText() const = 0; // txtResponse
    virtual void setResponseText(const QString& text) = 0;
    virtual QString lastText() const = 0; // lblLast
    virtual void setLastText(const QString& text) = 0;
    virtual void setLastIPText(const QString& text) = 0; // lblLastIP
    virtual QString remoteText() const = 0;              // lblremote
    virtual void setRemoteText(const QString& text) = 0;
    virtual QString machineText() const = 0; // lblmachine
    virtual void setMachineText(const QString& text) = 0;
    virtual void setNextText(const QString& text) = 0; // lblnext

    virtual bool routerAddressSelected() const = 0; // optIP(0), saved or not
    virtual QString userName() const = 0;           // txtusername
    virtual QString password() const = 0;           // txtpassword
    virtual QString hoursText() const = 0;          // txthours
    virtual QString minutesText() const = 0;        // txtMinutes
    virtual QStringList locators() const = 0;       // lstLocators, in order
};
