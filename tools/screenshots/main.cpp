// Takes the README's pictures: the program itself, run from an empty application directory
// against quorvex-sim on the build's service host, on a real display (scripts/screenshots starts
// Xvfb for it). Usage: quorvex-screenshots <empty application directory> <output directory>

#include "InterfaceMachineAddress.h"
#include "QuorvexApp.h"
#include "ScreenshotDesktop.h"
#include "ScreenshotTour.h"
#include "ServiceConstants.h"
#include "SettingsDirectory.h"
#include "SystemClock.h"

#include <QApplication>
#include <QDir>
#include <QNetworkAccessManager>
#include <QNetworkProxy>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    const QStringList arguments = QCoreApplication::arguments();
    const QDir out(arguments.value(2));
    if (arguments.size() != 3 || !QDir(arguments.at(1)).exists() || !QDir(arguments.at(1)).isEmpty() || !out.exists()) {
        std::fprintf(stderr, "usage: quorvex-screenshots <empty application directory> <output directory>\n");
        return 2;
    }
    const SettingsDirectory settings(QDir(arguments.at(1)).absolutePath());

    ScreenshotDesktop desktop;
    SystemClock clock;
    InterfaceMachineAddress machine;
    QNetworkAccessManager network;
    // Loopback only, whatever proxy the environment names.
    network.setProxy(QNetworkProxy::NoProxy);
    QuorvexApp app(QuorvexApp::Environment{desktop, clock, machine, network, settings, ServiceConstants::serviceHost(),
                                           ServiceConstants::keepAliveSite(), ServiceConstants::defaultLocators()});
    ScreenshotTour tour(app, desktop, out);
    return tour.run() ? 0 : 1;
}
