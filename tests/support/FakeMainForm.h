#pragma once

#include "MainForm.h"

// The main window's labels and working copies as plain values, starting as a freshly loaded
// window shows them.
class FakeMainForm : public MainForm
{
public:
    QString responseText() const override { return response; }
    void setResponseText(const QString& text) override { response = text; }
    QString lastText() const override { return last; }
    void setLastText(const QString& text) override { last = text; }
    void setLastIPText(const QString& text) override { lastIP = text; }
    QString remoteText() const override { return remote; }
    void setRemoteText(const QString& text) override { remote = text; }
    QString machineText() const override { return machine; }
    void setMachineText(const QString& text) override { machine = text; }
    void setNextText(const QString& text) override { next = text; }

    bool routerAddressSelected() const override { return useRouter; }
    QString userName() const override { return user; }
    QString password() const override { return pass; }
    QString hoursText() const override { return hours; }
    QString minutesText() const override { return minutes; }
    QStringList locators() const override { return locatorList; }

    QString response;
    QString last = QStringLiteral("Not Updated");
    QString lastIP = QStringLiteral("Not Updated");
    QString remote = QStringLiteral("Checking ...");
    QString machine = QStringLiteral("Checking ...");
    QString next = QStringLiteral("Not Specified");
    bool useRouter = true;
    QString user;
    QString pass;
    QString hours = QStringLiteral("0");
    QString minutes = QStringLiteral("5");
    QStringList locatorList;
};
