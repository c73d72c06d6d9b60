#include "InterfaceMachineAddress.h"
#include "NetworkWatch.h"
#include "ProgramIcon.h"
#include "QuorvexApp.h"
#include "ServiceConstants.h"
#include "SettingsDirectory.h"
#include "SleepWatch.h"
#include "SystemClock.h"
#include "WidgetDesktop.h"

#include <QApplication>
#include <QNetworkAccessManager>

#include <memory>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // The main window hides to the notification area; only Exit ends the program.
    application.setQuitOnLastWindowClosed(false);
    application.setWindowIcon(ProgramIcon::icon());
    // The desktop entry's name, so the desktop matches the windows to the entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(QUORVEX_APP_ID));

    WidgetDesktop desktop;
    SystemClock clock;
    InterfaceMachineAddress machine;
    QNetworkAccessManager network;
    const std::unique_ptr<NetworkWatch> watch = NetworkWatch::forThisMachine();
    SleepWatch sleep;
    QObject::connect(&sleep, &SleepWatch::woke, watch.get(), &NetworkWatch::reportChange);
    QuorvexApp quorvex(QuorvexApp::Environment{desktop, clock, machine, *watch, network,
                                               SettingsDirectory::ofThisBuild(), ServiceConstants::serviceHost(),
                                               ServiceConstants::keepAliveSite(), ServiceConstants::defaultLocators()});
    return application.exec();
}
