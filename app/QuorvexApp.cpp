#include "QuorvexApp.h"

#include "ApplicationDirectory.h"
#include "CredentialCheck.h"
#include "HttpPageRequester.h"
#include "MainController.h"
#include "MainWindow.h"
#include "ServiceConstants.h"
#include "ServiceUrls.h"
#include "SplashWindow.h"
#include "UpdateExchange.h"

QuorvexApp::QuorvexApp() : m_tray(m_desktop, ServiceUrls(ServiceConstants::serviceHost()).homePage())
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
    delete m_splash;
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
    // The setup wizard attaches here.
}

void QuorvexApp::startCredentialCheck()
{
    // A check still under way (a reload during it) goes on; nothing new starts.
    if (m_check || !m_main) {
        return;
    }
    PageRequester* wb = makeRequester(QStringLiteral("wb"), nullptr);
    static const ServiceUrls urls(ServiceConstants::serviceHost());
    m_check = new CredentialCheck(CredentialCheck::Parts{*wb, *m_main, *this, m_wizard, m_desktop, m_clock, urls},
                                  m_wizard.isOpen());
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

void QuorvexApp::removeTrayIcon()
{
    m_tray.removeIcon();
}

PageRequester* QuorvexApp::makeRequester(const QString& name, QObject* parent)
{
    auto* requester = new HttpPageRequester(m_network, parent);
    requester->setObjectName(name);
    return requester;
}

void QuorvexApp::loadMainWindow()
{
    // A splash window shown again after an Apply fires once more; the main window is loaded already.
    if (m_main) {
        return;
    }
    MainController::Services services{
        m_desktop,
        m_clock,
        m_machine,
        *this,
        m_wizard,
        [this](const QString& name, QObject* parent) { return makeRequester(name, parent); },
        ApplicationDirectory::path(),
        ServiceConstants::serviceHost(),
        ServiceConstants::keepAliveSite(),
        ServiceConstants::defaultLocators().value(1)};
    m_main = std::make_unique<MainController>(services);
    m_main->Form_Load();
}
