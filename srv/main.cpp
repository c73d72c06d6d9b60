#include "CommandLine.h"
#include "HeadlessUpdater.h"
#include "HttpPageRequester.h"
#include "InterfaceMachineAddress.h"
#include "NetworkWatch.h"
#include "ServiceConstants.h"
#include "ServiceManagerLink.h"
#include "SettingsDirectory.h"
#include "SignalPipe.h"
#include "StandardOutputLog.h"
#include "SystemClock.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>

#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;

// The updater without a window, for a service manager: its log is standard output; it ends on
// SIGTERM or SIGINT (status 0), a refused login (77) or unreadable settings (78) only.
int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    switch (CommandLine::parse(QCoreApplication::arguments().mid(1))) {
    case CommandLine::Action::Help:
        std::fputs(CommandLine::helpText().toLocal8Bit().constData(), stdout);
        return static_cast<int>(ExitStatus::Stopped);
    case CommandLine::Action::Version:
        std::fputs(CommandLine::versionText().toLocal8Bit().constData(), stdout);
        return static_cast<int>(ExitStatus::Stopped);
    case CommandLine::Action::Usage:
        std::fputs(CommandLine::helpText().toLocal8Bit().constData(), stderr);
        return static_cast<int>(ExitStatus::Usage);
    case CommandLine::Action::Run:
        break;
    }
    SignalPipe signals_;
    if (!signals_.isValid()) {
        std::fputs("quorvex_srv: cannot set up the signal handlers\n", stderr);
        return static_cast<int>(ExitStatus::Failure);
    }
    SystemClock clock;
    InterfaceMachineAddress machine;
    QNetworkAccessManager network;
    const std::unique_ptr<NetworkWatch> watch = NetworkWatch::forThisMachine();
    StandardOutputLog output(stdout);
    HeadlessUpdater updater(HeadlessUpdater::Services{
        clock, machine, *watch,
        [&network](const QString& name, QObject* parent) -> PageRequester* {
            return HttpPageRequester::forExchange(network, name, QStringLiteral("Quorvex-srv"), parent);
        },
        SettingsDirectory::ofThisBuild(), ServiceConstants::serviceHost(), ServiceConstants::keepAliveSite()});

    ServiceManagerLink manager;
    QObject::connect(&updater, &HeadlessUpdater::journal, &output, &StandardOutputLog::write);
    QObject::connect(&updater, &HeadlessUpdater::ready, &manager, &ServiceManagerLink::ready);
    QObject::connect(&updater, &HeadlessUpdater::statusChanged, &manager, &ServiceManagerLink::status);
    QObject::connect(&updater, &HeadlessUpdater::ended, &application,
                     [](ExitStatus status) { QCoreApplication::exit(static_cast<int>(status)); });
    QObject::connect(&signals_, &SignalPipe::stopRequested, &application, [&updater](const QString& signalName) {
        updater.log().appendMessage(u"Stopped by "_s + signalName + u'.');
        QCoreApplication::exit(static_cast<int>(ExitStatus::Stopped));
    });
    QObject::connect(&signals_, &SignalPipe::reloadRequested, &updater, &HeadlessUpdater::reload);
    QObject::connect(&signals_, &SignalPipe::networkChangeReported, watch.get(), &NetworkWatch::reportChange);
    // From the event loop, so that an ending at the very start (unreadable settings) ends it.
    QMetaObject::invokeMethod(&updater, &HeadlessUpdater::start, Qt::QueuedConnection);
    return QCoreApplication::exec();
}
