// What quorvex_srv holds and spends, side by side in one run with a Qt Core and Network floor
// (bench_network_floor) and the window program, all three started together against the
// simulator, each seeded, and left idle through their forced updates and two scheduled cycles
// of quorvex_srv with an unchanged address:
//   - resident memory of each at the end (VmRSS, and the peak VmHWM), with the ratios of
//     quorvex_srv to the floor and to the window program,
//   - quorvex_srv's CPU time per unchanged cycle and the requests it sent in each.
// quorvex_srv asks its own locator page (/echo2) for its own host (mail.example.com), so its
// requests are told apart from the window program's.
//
//   bench_srv_footprint [--cycles N]   (default 2)

#include "BenchFigures.h"
#include "BenchSimulator.h"
#include "ProcessMeter.h"
#include "SeededQuorvex.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr double floorTarget = 1.15;
constexpr double windowTarget = 0.45;
constexpr double cycleCpuTargetMs = 1.0;
// A reading well after a cycle's update phase (24 s after its lookup) and before the next lookup.
constexpr int quietAfterLookupMs = 45000;

constexpr QLatin1StringView srvLocator("GET /echo2");
constexpr QLatin1StringView srvUpdate("host=mail.example.com&");

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const int cycles = BenchFigures::countOption(QStringLiteral("--cycles"), 2);

    BenchSimulator sim;
    if (!sim.start(QUORVEX_BENCH_PORT, QStringLiteral(QUORVEX_DEMO_DATA))) {
        std::fprintf(stderr, "%s\n", qPrintable(sim.errorString()));
        return 1;
    }
    SeededQuorvex srv(QUORVEX_BENCH_PORT, 1, QStringLiteral(QUORVEX_SRV_BINARY), "/echo2", "mail.example.com\r\n");
    SeededQuorvex window(QUORVEX_BENCH_PORT, 1);
    QProcess floorProgram;
    floorProgram.setStandardOutputFile(QProcess::nullDevice());
    floorProgram.setStandardErrorFile(QProcess::nullDevice());

    std::printf("load average before: %s\n", ProcessMeter::loadAverage().constData());
    std::fflush(stdout);
    floorProgram.start(QStringLiteral(QUORVEX_NETWORK_FLOOR_BINARY), {});
    if (!srv.isReady() || !window.isReady() || !srv.start() || !window.start() || !floorProgram.waitForStarted(10000)) {
        std::fprintf(stderr, "cannot start the programs: %s%s\n", qPrintable(srv.errorString()),
                     qPrintable(window.errorString()));
        return 1;
    }

    // A whole cycle is measured from one quiet reading to the next: cycles + 1 lookups.
    std::vector<double> quietCpu;
    std::vector<qsizetype> quietRequests;
    QEventLoop loop;
    QObject::connect(&sim, &BenchSimulator::requestArrived, &sim, [&](const QString& line) {
        if (line.startsWith(srvLocator)) {
            QTimer::singleShot(quietAfterLookupMs, &sim, [&] {
                quietCpu.push_back(ProcessMeter::cpuSeconds(srv.processId()));
                quietRequests.push_back(sim.requests().size());
                if (quietCpu.size() > static_cast<size_t>(cycles)) {
                    loop.quit();
                }
            });
        }
    });
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &loop, [&] {
        if (!srv.isRunning() || !window.isRunning() || floorProgram.state() != QProcess::Running) {
            loop.quit();
        }
    });
    watch.start(1000);
    loop.exec();
    if (!srv.isRunning() || !window.isRunning() || floorProgram.state() != QProcess::Running) {
        std::fprintf(stderr, "a program ended during the run\n%s\n%s\n", qPrintable(srv.errorOutput()),
                     qPrintable(window.errorOutput()));
        return 1;
    }

    const ProcessMeter::Memory s = ProcessMeter::memory(srv.processId());
    const ProcessMeter::Memory w = ProcessMeter::memory(window.processId());
    const ProcessMeter::Memory f = ProcessMeter::memory(floorProgram.processId());
    std::printf("load average after:  %s\n", ProcessMeter::loadAverage().constData());
    srv.stop();
    window.stop();
    floorProgram.kill();
    floorProgram.waitForFinished(5000);

    std::printf("idle through the forced updates and %d scheduled cycles of quorvex_srv, started together\n", cycles);
    std::printf("%-12s %-10s %-10s %-11s %s\n", "", "VmHWM MB", "VmRSS MB", "RssAnon MB", "RssFile MB");
    for (const auto& [name, memory] : {std::pair{"floor", f}, std::pair{"quorvex_srv", s}, std::pair{"quorvex", w}}) {
        std::printf("%-12s %-10.1f %-10.1f %-11.1f %.1f\n", name, BenchFigures::mb(memory.peakKb),
                    BenchFigures::mb(memory.residentKb), BenchFigures::mb(memory.anonymousKb),
                    BenchFigures::mb(memory.fileKb));
    }
    std::printf("quorvex_srv steady memory: %.3f x the floor (target <= %.2f: %s), %.3f x quorvex (target <= %.2f: "
                "%s)\n",
                BenchFigures::ratio(s.residentKb, f.residentKb), floorTarget,
                BenchFigures::verdict(s.residentKb, f.residentKb, floorTarget),
                BenchFigures::ratio(s.residentKb, w.residentKb), windowTarget,
                BenchFigures::verdict(s.residentKb, w.residentKb, windowTarget));

    std::vector<double> cycleCpuMs;
    qsizetype locatorRequests = 0;
    qsizetype gatewayRequests = 0;
    for (size_t i = 1; i < quietCpu.size(); ++i) {
        cycleCpuMs.push_back((quietCpu[i] - quietCpu[i - 1]) * 1000.0);
        for (qsizetype r = quietRequests[i - 1]; r < quietRequests[i]; ++r) {
            const QString& line = sim.requests().at(r).line;
            locatorRequests += line.startsWith(srvLocator) ? 1 : 0;
            gatewayRequests += line.startsWith(QStringLiteral("GET /dyn/update")) && line.contains(srvUpdate) ? 1 : 0;
        }
    }
    const auto measured = static_cast<double>(cycleCpuMs.size());
    const double maxMs = *std::max_element(cycleCpuMs.begin(), cycleCpuMs.end());
    std::printf("quorvex_srv CPU ms per unchanged cycle: median %.3f, max %.3f (target <= %.0f ms: %s)\n",
                BenchFigures::median(cycleCpuMs), maxMs, cycleCpuTargetMs,
                maxMs <= cycleCpuTargetMs ? "met" : "MISSED");
    std::printf("quorvex_srv requests per cycle: locator %.2f (limit 1), gateway %.2f (limit 0): target %s\n",
                static_cast<double>(locatorRequests) / measured, static_cast<double>(gatewayRequests) / measured,
                locatorRequests == static_cast<qsizetype>(measured) && gatewayRequests == 0 ? "met" : "MISSED");
    return 0;
}
