#include "CredentialCheck.h"

#include "CheckWindow.h"
#include "Clock.h"
#include "Desktop.h"
#include "EventLog.h"
#include "MainController.h"
#include "MainWindow.h"
#include "ServiceUrls.h"
#include "SetupWizardSide.h"
#include "StartUpWindows.h"
#include "UpdateScheduler.h"
#include "ValidationAnswer.h"

#include <QLineEdit>

namespace {

QString loginFailed()
{
    return QStringLiteral("Fail to validate your login. Either network or website is down");
}

} // namespace

CredentialCheck::CredentialCheck(const Parts& parts, bool show, QObject* parent)
    : QObject(parent), m_parts(parts), m_window(std::make_unique<CheckWindow>())
{
    connect(&m_parts.wb, &PageRequester::DocumentComplete, this,
            [this](const QString& url, const QString& text) { onDocumentComplete(url, text); });
    connect(m_window.get(), &CheckWindow::cancelClicked, this, &CredentialCheck::cmdCancel_Click);
    m_parts.wb.Navigate(QStringLiteral("about:blank"));
    m_tmr.setObjectName(QStringLiteral("tmr"));
    m_tmr.setInterval(1000);
    connect(&m_tmr, &QTimer::timeout, this, &CredentialCheck::tmr_Timer);
    m_parts.desktop.gate().holdTicks(m_tmr);
    m_tmr.start();
    if (show) {
        m_window->show();
    }
}

CredentialCheck::~CredentialCheck() = default;

void CredentialCheck::tmr_Timer()
{
    m_tmr.stop();
    const bool fromWizard = m_parts.wizard.isOpen();
    const MainWindow& form = m_parts.main.window();
    const QString user = fromWizard ? m_parts.wizard.userText() : form.userName();
    const QString password = fromWizard ? m_parts.wizard.passwordText() : form.password();
    m_parts.wb.Navigate(m_parts.urls.validation(user, password));
}

void CredentialCheck::onDocumentComplete(const QString& url, const QString& text)
{
    if (text.isEmpty() || m_done) {
        return;
    }
    switch (ValidationAnswer::classify(url, text)) {
    case ValidationAnswer::Verdict::Valid:
        succeed();
        return;
    case ValidationAnswer::Verdict::Invalid:
        fail();
        return;
    case ValidationAnswer::Verdict::Undetermined:
        m_parts.desktop.message(QStringLiteral("Error"),
                                QStringLiteral("Could not determine the status, please ensure that you are online."),
                                Desktop::Icon::None, Desktop::Buttons::Ok);
        m_parts.desktop.endProgram(Desktop::Ending::Failure);
        return;
    }
}

void CredentialCheck::succeed()
{
    MainController& main = m_parts.main;
    if (m_parts.wizard.isOpen()) {
        m_parts.wizard.credentialsAccepted();
        // The domain and host requests take the name from the main window.
        main.window().userNameBox()->setText(m_parts.wizard.userText());
        main.GetDomains();
        unload();
        return;
    }
    main.log().appendMessage(QStringLiteral("Verified account credentials"));
    main.log().appendMessage(QStringLiteral("Retrieving domain list ..."));
    main.model().StartUp = 1;
    main.GetDomains();
    m_parts.windows.closeSplash();
    main.window().show();
    if (main.window().pingBox()->text() != QStringLiteral("0") && !main.pingTimer().isActive()) {
        main.pingTimer().start();
    }
    main.scheduler().switchOn();
    unload();
}

void CredentialCheck::fail()
{
    unload();
    MainWindow& form = m_parts.main.window();
    if (!form.isVisible()) {
        form.show();
    }
    m_parts.windows.closeSplash();
    form.setResponseText(loginFailed());
    form.setLastText(m_parts.clock.NowText() + QStringLiteral("   -   Login validation failed"));
    m_parts.main.log().appendMessage(form.responseText());
    if (m_parts.wizard.isOpen()) {
        m_parts.wizard.credentialsNotAccepted();
    }
}

void CredentialCheck::cmdCancel_Click()
{
    if (m_parts.wizard.isOpen()) {
        m_parts.wizard.credentialsNotAccepted();
    } else {
        m_parts.desktop.message(QStringLiteral("Error"),
                                QStringLiteral("You must verify that your credentials are correct before proceeding\r\n"
                                               "Please restart the application to try again"),
                                Desktop::Icon::Exclamation, Desktop::Buttons::Ok);
        m_parts.desktop.endProgram(Desktop::Ending::Failure);
    }
    unload();
}

// Hides the window and stops listening; the owner deletes this object once control is back on
// the event loop, since unloading may be asked from inside one of its own handlers.
void CredentialCheck::unload()
{
    m_done = true;
    m_tmr.stop();
    m_window->hide();
    disconnect(&m_parts.wb, nullptr, this, nullptr);
    emit finished();
}
