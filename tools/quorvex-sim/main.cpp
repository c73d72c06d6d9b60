#include "ServiceSimulator.h"
#include "SimulatorData.h"
#include "SimulatorOptions.h"
#include "SimulatorServer.h"

#include <QCoreApplication>

#include <cstdio>

static void printLine(std::FILE* stream, const QString& line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);

    SimulatorOptions options;
    switch (options.parse(QCoreApplication::arguments())) {
    case SimulatorOptions::Outcome::Help:
        printLine(stdout, SimulatorOptions::usage());
        return 0;
    case SimulatorOptions::Outcome::Error:
        printLine(stderr, u"quorvex-sim: " + options.error() + u'\n' + SimulatorOptions::usage());
        return 2;
    case SimulatorOptions::Outcome::Run:
        break;
    }

    SimulatorData data;
    QString error;
    if (!data.loadFile(options.dataFile(), &error)) {
        printLine(stderr, u"quorvex-sim: " + error);
        return 2;
    }

    ServiceSimulator service(std::move(data));
    SimulatorServer server(&service);
    if (!server.listen(options.port(), &error)) {
        printLine(stderr, u"quorvex-sim: " + error);
        return 1;
    }
    QObject::connect(&service, &ServiceSimulator::requestLogged, &service,
                     [](const QString& line) { printLine(stdout, line); });
    printLine(stdout, u"listening on 127.0.0.1:" + QString::number(server.port()));
    if (!server.listensOnIpv6()) {
        printLine(stderr, QStringLiteral("quorvex-sim: no IPv6 loopback here; not listening on [::1]"));
    }
    return QCoreApplication::exec();
}
