#pragma once

#include "MainForm.h"

#include <QStringList>

// The main window's labels and working copies without a window: the exchanges write the labels
// and read the settings as they were loaded from the files. Nothing here is shown; what the user
// sees of the program is its log.
class HeadlessForm : public MainForm
{
public:
    QString responseText() const override { return m_response; }
    void setResponseText(const QString& text) override { m_response = text; }
    QString lastText() const override { return m_last; }
    void setLastText(const QString& text) override { m_last = text; }
    void setLastIPText(const QString& /*text*/) override {}
    QString remoteText() const override { return m_remote; }
    void setRemoteText(const QString& text) override { m_remote = text; }
    QString machineText() const override { return m_machine; }
    void setMachineText(const QString& text) override { m_machine = text; }
    void setNextText(const QString& /*text*/) override {}

    bool routerAddressSelected() const override { return useRouterAddress; }
    QString userName() const override { return user; }
    QString password() const override { return pass; }
    QString hoursText() const override { return hours; }
    QString minutesText() const override { return minutes; }
    QStringList locators() const override { return locatorList; }

    bool useRouterAddress = true;
    QString user;
    QString pass;
    QString hours;
    QString minutes;
    QStringList locatorList;
    // The keep-alive box's text: "5" when the ping is off, as the window shows it.
    QString pingText;

private:
    QString m_response;
    // A forced update's answer is recorded only once this has left its first text.
    QString m_last = QStringLiteral("Not Updated");
    QString m_remote;
    QString m_machine;
};
