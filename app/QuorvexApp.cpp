#include "QuorvexApp.h"

#include "ApplicationDirectory.h"
#include "HttpPageRequester.h"
#include "MainController.h"
#include "ServiceConstants.h"
#include "SplashWindow.h"

QuorvexApp::QuorvexApp()
{
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
    // The credential check attaches here.
}

void QuorvexApp::loadMainWindow()
{
    // A splash window shown again after an Apply fires once more; the main window is loaded already.
    if (m_main) {
        return;
    }
    MainController::Services services{m_desktop,
                                      m_clock,
                                      m_machine,
                                      *this,
                                      [this](const QString& name, QObject* parent) -> PageRequester* {
                                          auto* requester = new HttpPageRequester(m_network, parent);
                                          requester->setObjectName(name);
                                          return requester;
                                      },
                                      ApplicationDirectory::path(),
                                      ServiceConstants::serviceHost(),
                                      ServiceConstants::keepAliveSite()};
    m_main = std::make_unique<MainController>(services);
    m_main->Form_Load();
}
