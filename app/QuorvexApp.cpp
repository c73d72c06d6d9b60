#include "QuorvexApp.h"

#include "CredentialCheck.h"
#include "Desktop.h"
#include "HttpPageRequester.h"
#include "MachineAddress.h"
#include "MainController.h"
#include "MainWindow.h"
#include "SetupWizard.h"
#include "SplashWindow.h"
#include "UpdateExchange.h"

QuorvexApp::QuorvexApp(const Environment& environment)
    : m_env(environment), m_urls(environment.serviceHost), m_tray(environment.desktop, m_urls.homePage())
{
    connect(&m_tray, &TrayIcon::openRequested, this, [this] {
        if (m_main) {
            m_main->window().showNormal();
            m_main->window().activateWindow();
        }
    });
    connect(&m_tray, &TrayIcon::updateRequested, this, [this] {
        if (m_main) {
            m_main->updateExchange().UpdateIP();
        }
    });
    connect(&m_tray, &TrayIcon::exitRequested, this, [this] {
        if (m_main) {
            m_main->cmdExit_Click();
        }
    });
    showSplash();
}

QuorvexApp::~QuorvexApp()
{
    delete m_check;
    delete m_splash;
    delete m_wizard.get();
}

SplashWindow* QuorvexApp::splash() const
{
    return m_splash;
}

CredentialCheck* QuorvexApp::credentialCheck() const
{
    return m_check;
}

void QuorvexApp::showSplash()
{
    if (!m_splash) {
        m_splash = new SplashWindow;
        connect(m_splash, &SplashWindow::waited, this, &QuorvexApp::loadMainWindow);
    }
    m_splash->show();
}

void QuorvexApp::closeSplash()
{
    if (m_splash) {
        m_splash->hide();
        m_splash->deleteLater();
    }
}

void QuorvexApp::setSplashStatus(const QString& text)
{
    if (m_splash) {
        m_splash->setStatus(text);
    }
}

void QuorvexApp::openWizard()
{
    if (!m_wizard.get()) {
        auto* wizard = new SetupWizard(m_env.desktop, *this, m_urls, m_env.keepAliveSite, m_env.defaultLocators);
        m_wizard.set(wizard);
    }
    m_wizard.get()->show();
    m_wizard.get()->raise();
}

void QuorvexApp::startCredentialCheck()
{
    // A check still under way (a reload during it) goes on; nothing new starts.
    if (m_check) {
        return;
    }
    MainController& main = m_wizard.isOpen() ? mainForWizard() : *m_main;
    PageRequester* wb = makeRequester(QStringLiteral("wb"), nullptr);
    m_check = new CredentialCheck(
        CredentialCheck::Parts{*wb, main, *this, m_wizard, m_env.desktop, m_env.clock, m_urls}, m_wizard.isOpen());
    wb->setParent(m_check);
    connect(m_check, &CredentialCheck::finished, m_check, &QObject::deleteLater);
}

void QuorvexApp::unloadMainWindow()
{
    delete m_check;
    // Called from the main window's own button: it goes once that handler has returned.
    m_main.release()->deleteLater();
}

void QuorvexApp::minimizeToTray(QWidget& window)
{
    m_tray.hideToTray(window);
}

void QuorvexApp::RemoveTrayIcon()
{
    m_tray.RemoveTrayIcon();
}

void QuorvexApp::useDefaultLocatorsAndLookUp()
{
    mainForWizard().useLocators(m_env.defaultLocators);
}

QString QuorvexApp::machineAddress() const
{
    return m_env.machine.localAddress();
}

QString QuorvexApp::configPath() const
{
    return m_env.settings.path();
}

void QuorvexApp::restartFromSavedSettings()
{
    showSplash();
    delete m_check;
    if (m_main) {
        m_main->window().hide();
        m_main->unload();
        m_main.release()->deleteLater();
    }
    SetupWizard* wizard = m_wizard.get();
    wizard->hide();
    m_main = makeMain();
    m_main->Form_Load();
    // The wizard's own Next button is still on the stack.
    m_wizard.set(nullptr);
    wizard->deleteLater();
}

void QuorvexApp::loadMainWindow()
{
    // A splash window shown again after an Apply fires once more; the main window is loaded already.
    if (m_main) {
        return;
    }
    m_main = makeMain();
    m_main->Form_Load();
}

MainController& QuorvexApp::mainForWizard()
{
    if (!m_main) {
        m_main = makeMain();
        m_main->model().ConfigPath = m_env.settings.path();
    }
    return *m_main;
}

std::unique_ptr<MainController> QuorvexApp::makeMain()
{
    MainController::Services services{
        m_env.desktop,
        m_env.clock,
        m_env.machine,
        m_env.networkWatch,
        *this,
        m_wizard,
        [this](const QString& name, QObject* parent) { return makeRequester(name, parent); },
        m_env.settings,
        m_env.serviceHost,
        m_env.keepAliveSite,
        m_env.defaultLocators.value(1)};
    auto main = std::make_unique<MainController>(services);
    connect(main.get(), &MainController::routerAddressFound, this, [this](const QString& address) {
        if (m_wizard.isOpen()) {
            m_wizard.get()->setRemoteText(address);
        }
    });
    return main;
}

PageRequester* QuorvexApp::makeRequester(const QString& name, QObject* parent)
{
    auto* requester = HttpPageRequester::forExchange(m_env.network, name, QStringLiteral("Quorvex"), parent);
    // No page completes under an open message box; it waits for the box, like the timers.
    requester->setGate(&m_env.desktop.gate());
    return requester;
}
