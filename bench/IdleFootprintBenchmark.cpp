// What quorvex holds and spends while it sits idle, side by side with the toolkit's floor
// (bench_toolkit_floor: one tab widget, shown), both started together and left alone:
//   - peak and steady resident memory (VmHWM, VmRSS at the end),
//   - CPU time over the whole run and over its idle part (from 10 s after quorvex's first
//     forced update to the end),
//   - per scheduled cycle of quorvex with an unchanged address: its CPU time and the requests
//     the simulator received.
// quorvex runs with the shortest interval the editors allow (1 minute: a cycle every 84 s),
// the router address from the simulator's locator pages and no keep-alive ping.
//
//   bench_idle_footprint [--minutes M]   (default 10)

#include "BenchFigures.h"
#include "BenchSimulator.h"
#include "ProcessMeter.h"
#include "SeededQuorvex.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr double memoryTarget = 1.25;
constexpr double cpuTarget = 1.5;
constexpr double cycleCpuTargetMs = 5.0;
constexpr int settleMs = 10000;
// Two readings in each cycle, both between its phases and the next cycle's: once the lookup has
// been answered (the update phase comes 24 s after the lookup), and after the update phase,
// well before the next lookup (84 s after this one).
constexpr int betweenPhasesMs = 12000;
constexpr int quietAfterLookupMs = 45000;

struct Figures
{
    ProcessMeter::Memory memory;
    double cpuTotal = 0;
    double cpuIdle = 0;
};

const char* cycleVerdict(double medianMs, double maxMs)
{
    if (maxMs <= cycleCpuTargetMs) {
        return "met";
    }
    return medianMs <= cycleCpuTargetMs ? "met by the median, not by every cycle" : "MISSED";
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const int minutes = BenchFigures::countOption(QStringLiteral("--minutes"), 10);

    BenchSimulator sim;
    if (!sim.start(QUORVEX_BENCH_PORT, QStringLiteral(QUORVEX_DEMO_DATA))) {
        std::fprintf(stderr, "%s\n", qPrintable(sim.errorString()));
        return 1;
    }
    SeededQuorvex quorvex(QUORVEX_BENCH_PORT, 1);
    QProcess floorProgram;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    floorProgram.setProcessEnvironment(environment);
    floorProgram.setStandardOutputFile(QProcess::nullDevice());
    floorProgram.setStandardErrorFile(QProcess::nullDevice());

    std::printf("load average before: %s\n", ProcessMeter::loadAverage().constData());
    std::fflush(stdout);
    floorProgram.start(QStringLiteral(QUORVEX_FLOOR_BINARY), {});
    if (!quorvex.isReady() || !quorvex.start() || !floorProgram.waitForStarted(10000)) {
        std::fprintf(stderr, "cannot start the programs: %s\n", qPrintable(quorvex.errorString()));
        return 1;
    }
    const qint64 quorvexPid = quorvex.processId();
    const qint64 floorPid = floorProgram.processId();

    if (sim.waitFor(QStringLiteral("GET /dyn/update?"), 0, 30000) < 0) {
        std::fprintf(stderr, "quorvex sent no forced update within 30 s\n%s\n", qPrintable(quorvex.errorOutput()));
        return 1;
    }
    const qsizetype afterStart = sim.requests().size();

    double quorvexAtSettle = -1;
    double floorAtSettle = -1;
    QTimer::singleShot(settleMs, [&] {
        quorvexAtSettle = ProcessMeter::cpuSeconds(quorvexPid);
        floorAtSettle = ProcessMeter::cpuSeconds(floorPid);
    });

    // Readings in every cycle; a whole cycle's cost is the difference between two quiet ones.
    struct CycleReadings
    {
        double betweenPhases = -1;
        double quiet = -1;
        qsizetype requestsByQuiet = 0;
    };
    std::vector<CycleReadings> readings;
    QObject::connect(&sim, &BenchSimulator::requestArrived, &sim, [&](const QString& line) {
        if (!line.startsWith(QStringLiteral("GET /whatismyip"))) {
            return;
        }
        const size_t cycle = readings.size();
        readings.push_back({});
        QTimer::singleShot(betweenPhasesMs, &sim,
                           [&, cycle] { readings[cycle].betweenPhases = ProcessMeter::cpuSeconds(quorvexPid); });
        QTimer::singleShot(quietAfterLookupMs, &sim, [&, cycle] {
            readings[cycle].quiet = ProcessMeter::cpuSeconds(quorvexPid);
            readings[cycle].requestsByQuiet = sim.requests().size();
        });
    });

    QEventLoop loop;
    QTimer end;
    end.setSingleShot(true);
    QObject::connect(&end, &QTimer::timeout, &loop, &QEventLoop::quit);
    const auto sinceStart = std::chrono::steady_clock::now() - quorvex.startedAt();
    end.start(std::max<qint64>(0, qint64{minutes} * 60000 -
                                      std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count()));
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &loop, [&] {
        if (!quorvex.isRunning() || floorProgram.state() != QProcess::Running) {
            loop.quit();
        }
    });
    watch.start(1000);
    loop.exec();
    if (!quorvex.isRunning() || floorProgram.state() != QProcess::Running) {
        std::fprintf(stderr, "a program ended during the run\n%s\n", qPrintable(quorvex.errorOutput()));
        return 1;
    }

    Figures q{ProcessMeter::memory(quorvexPid), ProcessMeter::cpuSeconds(quorvexPid), 0};
    Figures f{ProcessMeter::memory(floorPid), ProcessMeter::cpuSeconds(floorPid), 0};
    q.cpuIdle = q.cpuTotal - quorvexAtSettle;
    f.cpuIdle = f.cpuTotal - floorAtSettle;
    std::printf("load average after:  %s\n", ProcessMeter::loadAverage().constData());
    quorvex.stop();
    floorProgram.kill();
    floorProgram.waitForFinished(5000);

    std::printf("idle footprint over %d minutes, started together, offscreen\n", minutes);
    std::printf("%-9s %-10s %-10s %-11s %-11s %-12s %s\n", "", "VmHWM MB", "VmRSS MB", "RssAnon MB", "RssFile MB",
                "CPU s total", "CPU s idle");
    for (const auto& [name, figures] : {std::pair{"quorvex", q}, std::pair{"floor", f}}) {
        std::printf("%-9s %-10.1f %-10.1f %-11.1f %-11.1f %-12.3f %.3f\n", name,
                    BenchFigures::mb(figures.memory.peakKb), BenchFigures::mb(figures.memory.residentKb),
                    BenchFigures::mb(figures.memory.anonymousKb), BenchFigures::mb(figures.memory.fileKb),
                    figures.cpuTotal, figures.cpuIdle);
    }
    const double peakRatio = BenchFigures::ratio(q.memory.peakKb, f.memory.peakKb);
    const double steadyRatio = BenchFigures::ratio(q.memory.residentKb, f.memory.residentKb);
    std::printf("%-9s %-10.3f %-10.3f %-11s %-11s %-12.2f %.2f\n", "ratio", peakRatio, steadyRatio, "", "",
                BenchFigures::ratio(q.cpuTotal, f.cpuTotal), BenchFigures::ratio(q.cpuIdle, f.cpuIdle));
    std::printf("target memory <= %.2fx: peak %s, steady %s; target CPU <= %.1fx: total %s, idle part %s\n",
                memoryTarget, BenchFigures::verdict(q.memory.peakKb, f.memory.peakKb, memoryTarget),
                BenchFigures::verdict(q.memory.residentKb, f.memory.residentKb, memoryTarget), cpuTarget,
                BenchFigures::verdict(q.cpuTotal, f.cpuTotal, cpuTarget),
                BenchFigures::verdict(q.cpuIdle, f.cpuIdle, cpuTarget));

    // Each whole cycle: from one quiet reading to the next, split where the lookup has been answered.
    std::vector<double> cycleCpuMs;
    std::vector<double> lookupCpuMs;
    std::vector<double> updateCpuMs;
    qsizetype locatorRequests = 0;
    qsizetype gatewayRequests = 0;
    qsizetype otherRequests = 0;
    for (size_t i = 1; i < readings.size(); ++i) {
        const CycleReadings& before = readings[i - 1];
        const CycleReadings& cycle = readings[i];
        if (before.quiet < 0 || cycle.quiet < 0) {
            continue;
        }
        cycleCpuMs.push_back((cycle.quiet - before.quiet) * 1000.0);
        lookupCpuMs.push_back((cycle.betweenPhases - before.quiet) * 1000.0);
        updateCpuMs.push_back((cycle.quiet - cycle.betweenPhases) * 1000.0);
        for (qsizetype r = before.requestsByQuiet; r < cycle.requestsByQuiet; ++r) {
            const QString& line = sim.requests().at(r).line;
            if (line.startsWith(QStringLiteral("GET /whatismyip")) || line.startsWith(QStringLiteral("GET /echo"))) {
                ++locatorRequests;
            } else if (line.startsWith(QStringLiteral("GET /dyn/update"))) {
                ++gatewayRequests;
            } else {
                ++otherRequests;
            }
        }
    }
    const qsizetype requestsAfterStart = sim.requests().size() - afterStart;
    std::printf("per scheduled cycle, address unchanged: %zu whole cycles measured, %lld requests after the start\n",
                cycleCpuMs.size(), static_cast<long long>(requestsAfterStart));
    if (cycleCpuMs.empty()) {
        std::printf("too short a run for a whole cycle (one takes 84 s)\n");
        return 0;
    }
    const auto cycles = static_cast<double>(cycleCpuMs.size());
    const double medianMs = BenchFigures::median(cycleCpuMs);
    std::printf("CPU ms per cycle: min %.2f, median %.2f, max %.2f = %.2f x the %.0f ms limit (median): target %s\n",
                *std::min_element(cycleCpuMs.begin(), cycleCpuMs.end()), medianMs,
                *std::max_element(cycleCpuMs.begin(), cycleCpuMs.end()), medianMs / cycleCpuTargetMs, cycleCpuTargetMs,
                cycleVerdict(medianMs, *std::max_element(cycleCpuMs.begin(), cycleCpuMs.end())));
    std::printf("  of which (medians): lookup phase with its answer %.2f; update phase %.2f\n",
                BenchFigures::median(lookupCpuMs), BenchFigures::median(updateCpuMs));
    std::printf("requests per cycle: locator %.2f (limit 1), gateway %.2f (limit 0), other %.2f: target %s\n",
                static_cast<double>(locatorRequests) / cycles, static_cast<double>(gatewayRequests) / cycles,
                static_cast<double>(otherRequests) / cycles,
                locatorRequests == static_cast<qsizetype>(cycles) && gatewayRequests == 0 && otherRequests == 0
                    ? "met"
                    : "MISSED");
    return 0;
}
