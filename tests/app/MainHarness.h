#pragma once

#include "ClosedWizard.h"
#include "MainController.h"
#include "RecordingWindows.h"
#include "support/FakeClock.h"
#include "support/FakeDesktop.h"
#include "support/FakeMachineAddress.h"
#include "support/QtPrinters.h"
#include "support/ScriptedPageRequester.h"
#include "support/TemporaryAppDirectory.h"

#include <QMap>

#include <memory>

// A main window controller on fakes: scripted requesters by name, a fixed clock, scripted
// message boxes and a fresh application directory.
class MainHarness
{
public:
    static QString host();

    MainHarness();

    MainController& main() { return *m_main; }
    MainWindow& window() { return m_main->window(); }
    ScriptedPageRequester& requester(const QString& name) { return *m_requesters.value(name); }
    QString log() const { return m_main->log().text(); }
    // The log's entries with their time stamps removed.
    QStringList logEntries() const;

    // Today's date as the fake clock writes it.
    QString today() const { return clock.todayText(); }
    void seedUpdateFile(const QString& date);
    void seedConf(const QByteArray& content);
    void seedAccount(const QByteArray& content);
    void seedAll();

    TemporaryAppDirectory dir;
    FakeClock clock;
    FakeDesktop desktop;
    FakeMachineAddress machine;
    RecordingWindows windows;
    ClosedWizard wizard;

private:
    QMap<QString, ScriptedPageRequester*> m_requesters;
    std::unique_ptr<MainController> m_main;
};
