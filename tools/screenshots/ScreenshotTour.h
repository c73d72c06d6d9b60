#pragma once

#include "MainWindow.h"

#include <QDir>
#include <QString>

#include <functional>

class QuorvexApp;
class QWidget;
class ScreenshotDesktop;
class SetupWizard;

// A first start as a user makes it, from an empty application directory: the splash window, the
// setup wizard clicked through page by page (demo / demo123, two hosts ticked), then the main
// window after its first forced update, tab by tab, with the add-locator dialog on the way. Each
// window is saved as a PNG the moment it shows what a user would see there.
class ScreenshotTour
{
public:
    ScreenshotTour(QuorvexApp& app, ScreenshotDesktop& desktop, const QDir& out);

    // False, with the reason on stderr, when a window did not come up in time, the program
    // showed a message box or ended, or a picture could not be written.
    bool run();

private:
    bool runWizard();
    bool runMainWindow();

    // Lets the program run until the condition holds.
    bool waitFor(const QString& what, const std::function<bool()>& condition);
    // Reports each message box or end of the program met so far; true when there was none.
    bool allWell(const QString& during) const;
    // The window as drawn now, without the window manager's frame.
    bool save(QWidget& window, const QString& name);

    SetupWizard& wizard() const;
    MainWindow& mainWindow() const;
    void clickNext() const;
    void typeInto(const QString& box, const QString& text) const;
    bool tick(const QString& host) const;
    bool showTab(MainWindow::Tab tab) const;

    QuorvexApp& m_app;
    ScreenshotDesktop& m_desktop;
    QDir m_out;
};
