#include "ScreenshotTour.h"

#include "AddLocatorDialog.h"
#include "CheckWindow.h"
#include "CredentialCheck.h"
#include "EventLog.h"
#include "LocatorListEditor.h"
#include "MainController.h"
#include "QuorvexApp.h"
#include "ScreenshotDesktop.h"
#include "SetupWizard.h"
#include "SplashWindow.h"

#include <QCheckBox>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// The longest wait, from Finish to the first forced update's answer (version check, credential
// check, listing, update), takes about three seconds on loopback.
constexpr int waitMilliseconds = 20000;

void report(const QString& text)
{
    std::fprintf(stderr, "quorvex-screenshots: %s\n", qPrintable(text));
}

} // namespace

ScreenshotTour::ScreenshotTour(QuorvexApp& app, ScreenshotDesktop& desktop, const QDir& out)
    : m_app(app), m_desktop(desktop), m_out(out)
{}

bool ScreenshotTour::run()
{
    return runWizard() && runMainWindow();
}

bool ScreenshotTour::runWizard()
{
    if (!waitFor(u"the splash window"_s, [this] { return m_app.splash() && m_app.splash()->isVisible(); }) ||
        !save(*m_app.splash(), u"splash"_s)) {
        return false;
    }
    // An empty directory: the version page is fetched, then the wizard opens.
    if (!waitFor(u"the setup wizard"_s, [this] { return m_app.wizard() && m_app.wizard()->isVisible(); }) ||
        !save(wizard(), u"wizard-0-welcome"_s)) {
        return false;
    }

    clickNext();
    typeInto(u"txtUser"_s, u"demo"_s);
    typeInto(u"txtPass"_s, u"demo123"_s);
    if (wizard().Step() != 1 || !save(wizard(), u"wizard-1-account"_s)) {
        return false;
    }

    clickNext();
    // The check window shows for the second before the name and password are sent.
    if (!waitFor(u"the credential check window"_s,
                 [this] { return m_app.credentialCheck() && m_app.credentialCheck()->window().isVisible(); }) ||
        !save(m_app.credentialCheck()->window(), u"check"_s)) {
        return false;
    }
    auto* next = wizard().findChild<QPushButton*>(u"cmdNext"_s);
    if (!waitFor(u"the account's hosts in the wizard"_s, [&] { return wizard().Step() == 2 && next->isEnabled(); }) ||
        !tick(u"www.example.com"_s) || !tick(u"home.example.net"_s) || !save(wizard(), u"wizard-2-hosts"_s)) {
        return false;
    }

    clickNext();
    if (wizard().Step() != 3 || !save(wizard(), u"wizard-3-interval"_s)) {
        return false;
    }

    clickNext();
    const auto* remote = wizard().findChild<QLabel*>(u"lblremote"_s);
    if (!waitFor(u"the router address in the wizard"_s, [&] { return remote->text() != u"Finding Remote IP ..."_s; }) ||
        !save(wizard(), u"wizard-4-address"_s)) {
        return false;
    }

    clickNext();
    if (wizard().Step() != 5 || !save(wizard(), u"wizard-5-keepalive"_s)) {
        return false;
    }

    clickNext();
    if (wizard().Step() != 6 || !save(wizard(), u"wizard-6-finish"_s)) {
        return false;
    }
    clickNext();
    return true;
}

bool ScreenshotTour::runMainWindow()
{
    // The fresh main window checks the version and the credentials, lists the hosts and sends
    // the first forced update; the Status tab is taken once its answer is in.
    if (!waitFor(u"the first forced update"_s, [this] {
            return m_app.main() && m_app.main()->window().isVisible() &&
                   m_app.main()->log().text().contains(u"Completed updating."_s);
        })) {
        return false;
    }
    MainWindow& window = mainWindow();
    window.activateWindow();
    if (!save(window, u"main-status"_s) || !showTab(MainWindow::AccountTab) || !save(window, u"main-account"_s) ||
        !showTab(MainWindow::SettingsTab) || !save(window, u"main-settings"_s)) {
        return false;
    }

    QTest::mouseClick(window.button(u"locatorAdd"_s), Qt::LeftButton);
    AddLocatorDialog* add = m_app.main()->locatorEditor().dialog();
    if (!waitFor(u"the add-locator dialog"_s, [&] { return add && add->isVisible(); }) ||
        !save(*add, u"add-locator"_s)) {
        return false;
    }
    QTest::mouseClick(add->cancelButton(), Qt::LeftButton);

    return showTab(MainWindow::LogsTab) && save(window, u"main-logs"_s) && showTab(MainWindow::AboutTab) &&
           save(window, u"main-about"_s);
}

bool ScreenshotTour::waitFor(const QString& what, const std::function<bool()>& condition)
{
    QDeadlineTimer deadline(waitMilliseconds);
    while (m_desktop.problems().isEmpty() && !condition()) {
        if (deadline.hasExpired()) {
            report(u"gave up waiting for "_s + what);
            return false;
        }
        QTest::qWait(20);
    }
    return allWell(u"while waiting for "_s + what);
}

bool ScreenshotTour::allWell(const QString& during) const
{
    for (const QString& problem : m_desktop.problems()) {
        report(problem + u" ("_s + during + u")"_s);
    }
    return m_desktop.problems().isEmpty();
}

bool ScreenshotTour::save(QWidget& window, const QString& name)
{
    // Pending layouts and paints run first, and the focus frame settles.
    QTest::qWait(300);
    if (!allWell(u"before the picture "_s + name)) {
        return false;
    }
    const QString path = m_out.filePath(name + u".png"_s);
    // Quality 0 is the PNG writer's strongest compression; the picture itself is lossless.
    if (!window.grab().toImage().save(path, "PNG", 0)) {
        report(u"could not write "_s + path);
        return false;
    }
    std::printf("%s\n", qPrintable(name));
    return true;
}

SetupWizard& ScreenshotTour::wizard() const
{
    return *m_app.wizard();
}

MainWindow& ScreenshotTour::mainWindow() const
{
    return m_app.main()->window();
}

void ScreenshotTour::clickNext() const
{
    QTest::mouseClick(wizard().findChild<QPushButton*>(u"cmdNext"_s), Qt::LeftButton);
}

void ScreenshotTour::typeInto(const QString& box, const QString& text) const
{
    auto* edit = wizard().findChild<QLineEdit*>(box);
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClicks(edit, text);
}

// Ticks a host of the wizard's checklist where a user clicks it, on its box.
bool ScreenshotTour::tick(const QString& host) const
{
    const QList<QCheckBox*> boxes = wizard().findChildren<QCheckBox*>();
    for (QCheckBox* box : boxes) {
        if (box->isVisible() && box->text() == host) {
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
            return box->isChecked();
        }
    }
    report(u"no host "_s + host + u" in the wizard's list"_s);
    return false;
}

bool ScreenshotTour::showTab(MainWindow::Tab tab) const
{
    QTabBar* bar = mainWindow().tabs()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
    return mainWindow().tabs()->currentIndex() == tab;
}
