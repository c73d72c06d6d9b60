#include "MainController.h"

#include "AccountFile.h"
#include "Clock.h"
#include "ConfFile.h"
#include "Desktop.h"
#include "DomainHostLists.h"
#include "DomainList.h"
#include "IntervalBoxes.h"
#include "IntervalEditor.h"
#include "KeepAlivePing.h"
#include "LocatorListEditor.h"
#include "LogView.h"
#include "MachineAddress.h"
#include "MainWindow.h"
#include "NetworkChangeUpdate.h"
#include "PageRequester.h"
#include "ProjConf.h"
#include "RouterAddressLookup.h"
#include "SettingsInputCheck.h"
#include "SettingsLoad.h"
#include "StartUpWindows.h"
#include "UpdateExchange.h"
#include "UpdateScheduler.h"
#include "VersionCheck.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>

namespace {

QString blankPage()
{
    return QStringLiteral("about:blank");
}

} // namespace

MainController::MainController(const Services& services, QObject* parent)
    : QObject(parent), m_services(services), m_urls(services.serviceHost), m_log(services.clock),
      m_window(std::make_unique<MainWindow>(services.keepAliveSite, m_urls.homePage()))
{
    m_tmrPing.setObjectName(QStringLiteral("tmrPing"));
    m_tmrPing.setInterval(60000);

    m_wbExternal = m_services.makeRequester(QStringLiteral("wb_external"), this);
    m_wbUpdates = m_services.makeRequester(QStringLiteral("wb_updates"), this);
    m_wbKeepalive = m_services.makeRequester(QStringLiteral("wb_keepalive"), this);
    m_wbAccount = m_services.makeRequester(QStringLiteral("wb_account"), this);
    m_wbDomains = m_services.makeRequester(QStringLiteral("wb_domains"), this);
    m_wbHosts = m_services.makeRequester(QStringLiteral("wb_hosts"), this);
    m_wbSetip = m_services.makeRequester(QStringLiteral("wb_setip"), this);

    MainWindow& form = *m_window;
    m_lookup = std::make_unique<RouterAddressLookup>(*m_wbExternal, form, m_log, services.clock);
    m_updateExchange = std::make_unique<UpdateExchange>(*m_wbSetip, m_model, form, m_log, services.clock);
    m_versionCheck =
        std::make_unique<VersionCheck>(*m_wbUpdates, m_model, m_log, services.desktop, services.clock, m_urls);
    m_settingsLoad = std::make_unique<SettingsLoad>(m_model, *m_versionCheck, m_log, services.clock);
    m_scheduler = std::make_unique<UpdateScheduler>(
        m_model, form,
        [this] {
            m_lookup->GetRemoteIP();
            readMachineAddress();
        },
        [this] { m_updateExchange->UpdateIP(); });
    m_networkChange = std::make_unique<NetworkChangeUpdate>(NetworkChangeUpdate::Parts{
        services.watch, *m_lookup, *m_scheduler, m_model, form, services.machine, m_log, services.clock});
    // The first answer is normally the start's forced update's: from then on the address is
    // followed as the network changes.
    connect(m_updateExchange.get(), &UpdateExchange::requestEnded, m_networkChange.get(), [this](bool answered) {
        if (answered) {
            m_networkChange->setActive(true);
        }
    });
    m_hostLists = std::make_unique<DomainHostLists>(*m_wbDomains, *m_wbHosts, m_model, form, form.checklist(),
                                                    services.wizardHosts, *m_updateExchange, m_log, services.desktop,
                                                    services.clock, m_urls);

    m_keepAlive = std::make_unique<KeepAlivePing>(*m_wbKeepalive, m_model, m_log, services.clock,
                                                  services.keepAliveSite, [&form] { return form.pingBox()->text(); });
    connect(&m_tmrPing, &QTimer::timeout, m_keepAlive.get(), &KeepAlivePing::tick);
    // Neither timer ticks under an open message box; what falls due comes after it.
    services.desktop.gate().holdTicks(m_tmrPing);
    services.desktop.gate().holdTicks(m_scheduler->timer());
    m_locatorEditor =
        std::make_unique<LocatorListEditor>(*form.locatorList(), form, services.exampleLocator, services.desktop);
    m_locatorEditor->attach(form.button(QStringLiteral("locatorAdd")), form.button(QStringLiteral("locatorRemove")),
                            form.button(QStringLiteral("locatorUp")), form.button(QStringLiteral("locatorDown")));
    // The arrow keys in each box and the arrow buttons beside it step it.
    new IntervalBoxes(form.hoursBox(), form.findChild<QToolButton*>(QStringLiteral("hrsUp")),
                      form.findChild<QToolButton*>(QStringLiteral("hrsDown")), form.minutesBox(),
                      form.findChild<QToolButton*>(QStringLiteral("minUp")),
                      form.findChild<QToolButton*>(QStringLiteral("minDown")));
    connect(&form, &MainWindow::minimized, this, &MainController::Form_Resize);

    connect(&m_log, &EventLog::appended, form.logView(), &LogView::appendChunk);
    connect(m_versionCheck.get(), &VersionCheck::reloadRequested, this, &MainController::Form_Load);
    connect(m_lookup.get(), &RouterAddressLookup::addressFound, this, &MainController::routerAddressFound);
    connect(m_updateExchange.get(), &UpdateExchange::wizardNeeded, this, &MainController::runWizardInstead);

    connect(&form, &MainWindow::tabStripEvent, this, &MainController::RememberSettings);
    connect(&form, &MainWindow::applySettingsClicked, this, &MainController::cmdApply_Settings_Click);
    connect(&form, &MainWindow::applyAccountClicked, this, &MainController::cmdApply_Account_Click);
    connect(&form, &MainWindow::resetAccountClicked, this, &MainController::ResetAccount_Click);
    connect(&form, &MainWindow::refreshHostsClicked, this, &MainController::GetDomains);
    connect(&form, &MainWindow::exitClicked, this, &MainController::cmdExit_Click);
    connect(&form, &MainWindow::closeRequested, this, &MainController::cmdExit_Click);
    connect(&form, &MainWindow::forceUpdateClicked, this, &MainController::cmdForceUpdate_Click);
    connect(&form, &MainWindow::checkNowClicked, this, &MainController::cmdCheckNow_Click);
    connect(&form, &MainWindow::homePageClicked, m_versionCheck.get(), &VersionCheck::openHomePage);
    // Choosing the address source shows the locators only where they are used; the choice is
    // saved by Apply alone.
    connect(form.routerOption(), &QRadioButton::toggled, form.locatorFrame(), &QWidget::setVisible);
}

MainController::~MainController() = default;

void MainController::unload()
{
    m_tmrPing.stop();
    m_scheduler->timer().stop();
    m_networkChange->setActive(false);
    for (PageRequester* requester :
         {m_wbExternal, m_wbUpdates, m_wbKeepalive, m_wbAccount, m_wbDomains, m_wbHosts, m_wbSetip}) {
        requester->stop();
    }
}

void MainController::Form_Load()
{
    MainWindow& form = *m_window;
    form.hide();
    form.tabs()->setCurrentIndex(MainWindow::StatusTab);

    ProjConf conf;
    conf.Initialize();
    form.programNameLabel()->setText(conf.ProgramName);

    for (PageRequester* requester :
         {m_wbExternal, m_wbUpdates, m_wbKeepalive, m_wbAccount, m_wbDomains, m_wbHosts, m_wbSetip}) {
        requester->Navigate(blankPage());
    }

    m_model.ConfigPath = m_services.settings.path();
    if (const QString& problem = m_services.settings.problem(); !problem.isEmpty()) {
        m_services.desktop.message(QStringLiteral("Error"),
                                   problem + QStringLiteral(".\r\nPlease ensure that you can create and write to "
                                                            "that directory"),
                                   Desktop::Icon::Critical, Desktop::Buttons::Ok);
        m_services.desktop.endProgram(Desktop::Ending::Failure);
        return;
    }

    if (!m_settingsLoad->readUpdateFile()) {
        return;
    }
    LoadSettings();
}

void MainController::LoadSettings()
{
    MainWindow& form = *m_window;
    form.locatorList()->clear();
    const auto settings = m_settingsLoad->readGeneralSettings();
    if (!settings) {
        runWizardInstead();
        return;
    }
    form.hoursBox()->setText(settings->hoursText);
    form.minutesBox()->setText(settings->minutesText);
    form.locatorList()->addItems(settings->locators);

    form.setNextText(SettingsModel::nextUpdateText(m_model.Interval));

    if (settings->useRouterAddress) {
        form.routerOption()->setChecked(true);
        form.locatorFrame()->show();
        form.usingLabel()->setText(QStringLiteral("Remote"));
    } else {
        form.machineOption()->setChecked(true);
        form.locatorFrame()->hide();
        form.usingLabel()->setText(QStringLiteral("Machine"));
    }

    form.versionCheckBox()->setChecked(settings->checkVersionAtStartUp);
    m_settingsLoad->checkVersion(settings->checkVersionAtStartUp);

    if (settings->pingMinutes == 0) {
        form.pingCheckBox()->setChecked(false);
        form.pingBox()->setText(QStringLiteral("5"));
    } else {
        form.pingCheckBox()->setChecked(true);
        form.pingBox()->setText(QString::number(settings->pingMinutes));
    }

    m_log.appendEntry(QStringLiteral(" - Loaded general settings."));
    readMachineAddress();
    m_lookup->GetRemoteIP();

    m_scheduler->switchOn();
    if (m_model.PingInterval > 0 && !m_tmrPing.isActive()) {
        m_tmrPing.start();
    }

    const auto account = AccountFile::read(m_model.ConfigPath);
    if (!account) {
        runWizardInstead();
        return;
    }
    m_log.appendEntry(QStringLiteral(" - Checking account credentials."));
    form.userNameBox()->setText(account->userName);
    form.passwordBox()->setText(account->password);
    m_services.windows.startCredentialCheck();
    m_services.windows.setSplashStatus(QStringLiteral("Checking your credentials ..."));
}

void MainController::runWizardInstead()
{
    m_services.windows.openWizard();
    m_services.windows.closeSplash();
}

void MainController::readMachineAddress()
{
    m_window->setMachineText(m_services.machine.localAddress());
}

void MainController::GetDomains()
{
    m_hostLists->GetDomains();
}

void MainController::GetRemoteIP()
{
    m_lookup->GetRemoteIP();
}

void MainController::useLocators(const QStringList& locators)
{
    m_window->locatorList()->clear();
    m_window->locatorList()->addItems(locators);
    GetRemoteIP();
}

void MainController::RememberSettings()
{
    const int tab = m_window->tabs()->currentIndex();
    if (tab == MainWindow::AccountTab) {
        if (!m_lstAccountsTab.isEmpty()) {
            return;
        }
        takeAccountSnapshot();
    } else if (!m_lstAccountsTab.isEmpty()) {
        restoreAccountSnapshot();
    }

    if (tab == MainWindow::SettingsTab) {
        if (m_lstSettingsTab.isEmpty()) {
            takeSettingsSnapshot();
        }
    } else if (!m_lstSettingsTab.isEmpty()) {
        restoreSettingsSnapshot();
    }
}

void MainController::takeAccountSnapshot()
{
    const MainWindow& form = *m_window;
    const HostChecklist& checklist = form.checklist();
    m_lstAccountsTab = {form.userName(), form.password()};
    m_lstAccountsTabSelected = {false, false};
    for (int i = 0; i < checklist.ListCount(); ++i) {
        m_lstAccountsTab.append(checklist.List(i));
        m_lstAccountsTabSelected.append(checklist.IsSelected(i));
    }
}

void MainController::restoreAccountSnapshot()
{
    MainWindow& form = *m_window;
    form.userNameBox()->setText(m_lstAccountsTab.at(0));
    form.passwordBox()->setText(m_lstAccountsTab.at(1));
    for (qsizetype i = 2; i < m_lstAccountsTab.size(); ++i) {
        form.checklist().Selected(m_lstAccountsTab.at(i), m_lstAccountsTabSelected.at(i));
    }
    m_lstAccountsTab.clear();
    m_lstAccountsTabSelected.clear();
}

void MainController::takeSettingsSnapshot()
{
    const MainWindow& form = *m_window;
    m_lstSettingsTab = {form.hoursBox()->text(),
                        form.minutesBox()->text(),
                        form.routerOption()->isChecked() ? QStringLiteral("0") : QStringLiteral("1"),
                        QString::number(form.versionCheckBox()->isChecked() ? 1 : 0),
                        form.pingBox()->text(),
                        QString::number(form.pingCheckBox()->isChecked() ? 1 : 0)};
    m_lstSettingsTab.append(form.locators());
}

void MainController::restoreSettingsSnapshot()
{
    MainWindow& form = *m_window;
    form.hoursBox()->setText(m_lstSettingsTab.at(0));
    form.minutesBox()->setText(m_lstSettingsTab.at(1));
    if (m_lstSettingsTab.at(2).toInt() == 0) {
        form.routerOption()->setChecked(true);
    } else {
        form.machineOption()->setChecked(true);
    }
    form.versionCheckBox()->setChecked(m_lstSettingsTab.at(3).toInt() != 0);
    form.pingBox()->setText(m_lstSettingsTab.at(4));
    form.pingCheckBox()->setChecked(m_lstSettingsTab.at(5).toInt() != 0);
    form.locatorList()->clear();
    form.locatorList()->addItems(m_lstSettingsTab.mid(6));
    m_lstSettingsTab.clear();
}

void MainController::cmdApply_Account_Click()
{
    const MainWindow& form = *m_window;
    const HostChecklist& checklist = form.checklist();
    if (SettingsInputCheck::accountRefused(m_services.desktop, form.userNameBox(), form.passwordBox())) {
        return;
    }
    if (checklist.SelCount() == 0) {
        m_services.desktop.message(QStringLiteral("Error"),
                                   QStringLiteral("You must select at least one host to update."),
                                   Desktop::Icon::Exclamation, Desktop::Buttons::Ok);
        return;
    }
    m_lstAccountsTab.clear();
    m_lstAccountsTabSelected.clear();
    QStringList hosts;
    for (int i = 0; i < checklist.ListCount(); ++i) {
        if (checklist.IsSelected(i)) {
            hosts.append(checklist.List(i));
        }
    }
    if (!AccountFile::write(m_model.ConfigPath, form.userName(), form.password(), hosts)) {
        m_services.desktop.message(QStringLiteral("Error"),
                                   QStringLiteral("Failed to write the account configuration file.\r\n"
                                                  "Please ensure that you have permission to read & write the "
                                                  "application directory"),
                                   Desktop::Icon::Critical, Desktop::Buttons::Ok);
        m_services.desktop.endProgram(Desktop::Ending::Failure);
        return;
    }
    m_services.desktop.message(QStringLiteral("QuorVex IP Updater"), QStringLiteral("Your settings have been applied"),
                               Desktop::Icon::Information, Desktop::Buttons::Ok);
    m_services.windows.showSplash();
    Form_Load();
}

void MainController::ResetAccount_Click()
{
    const auto answer =
        m_services.desktop.message(QStringLiteral("Reconfigure account?"),
                                   QStringLiteral("You sure you want to reconfigure your account settings?"),
                                   Desktop::Icon::Information, Desktop::Buttons::OkCancel);
    if (answer != Desktop::Answer::Ok) {
        return;
    }
    m_services.windows.openWizard();
    m_window->hide();
    unload();
    m_services.windows.unloadMainWindow();
}

void MainController::cmdApply_Settings_Click()
{
    const MainWindow& form = *m_window;
    // A slip in a box is the user's to correct, not a file the next start cannot read. The ping
    // minutes count only while the ping is ticked: unticked, it is off, whatever the box holds.
    const bool pingOn = form.pingCheckBox()->isChecked();
    if ((pingOn &&
         SettingsInputCheck::refused(m_services.desktop, SettingsInputCheck::pingTime(form.pingBox()->text(), true),
                                     form.pingBox())) ||
        SettingsInputCheck::refused(m_services.desktop,
                                    SettingsInputCheck::interval(form.hoursBox()->text(), form.minutesBox()->text()),
                                    form.hoursBox())) {
        return;
    }
    m_lstSettingsTab.clear();
    const bool written =
        ConfFile::writeFromSettingsTab(m_model.ConfigPath, form.hoursBox()->text(), form.minutesBox()->text(),
                                       form.routerOption()->isChecked(), form.versionCheckBox()->isChecked() ? 1 : 0,
                                       pingOn ? form.pingBox()->text() : QStringLiteral("0"), form.locators());
    if (!written) {
        m_services.desktop.message(QStringLiteral("Error"),
                                   QStringLiteral("Failed to write the general configuration file.\r\n"
                                                  "Please ensure that you have permission to read & write the "
                                                  "application directory"),
                                   Desktop::Icon::Critical, Desktop::Buttons::Ok);
        m_services.desktop.endProgram(Desktop::Ending::Failure);
        return;
    }
    m_services.desktop.message(QStringLiteral("Quorvex IP Updater"), QStringLiteral("Your settings have been applied"),
                               Desktop::Icon::Information, Desktop::Buttons::Ok);
    m_services.windows.showSplash();
    Form_Load();
}

void MainController::Form_Resize()
{
    // Minimized, the window goes to the notification area where there is one.
    m_services.windows.minimizeToTray(*m_window);
}

void MainController::cmdExit_Click()
{
    const auto answer = m_services.desktop.message(
        QStringLiteral("Exit"), QStringLiteral("Are you sure you wish to quit ?\r\nYour IP will no longer be updated"),
        Desktop::Icon::None, Desktop::Buttons::YesNo);
    if (answer == Desktop::Answer::Yes) {
        m_services.windows.RemoveTrayIcon();
        m_services.desktop.endProgram(Desktop::Ending::Exit);
    }
}

void MainController::cmdForceUpdate_Click()
{
    m_scheduler->ForceUpdate();
}

void MainController::cmdCheckNow_Click()
{
    m_versionCheck->CheckNow();
}
