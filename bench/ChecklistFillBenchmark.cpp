// What filling the domain and host checklist costs for a large account: 12 domains with 10 hosts
// each, filled the way the account listing fills it (Clear, the headings and hosts in order, then
// a tick for every third host), once with the control hidden and once shown and painted.

#include "DomainList.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int domains = 12;
constexpr int hostsPerDomain = 10;
constexpr int rowsPerFill = domains + domains * hostsPerDomain;

void fill(DomainList& list)
{
    list.Clear();
    for (int d = 0; d < domains; ++d) {
        list.AddDomain(QStringLiteral("domain%1.example").arg(d));
        for (int h = 0; h < hostsPerDomain; ++h) {
            list.AddHost(QStringLiteral("host%1-%2").arg(d).arg(h));
        }
    }
    for (int d = 0; d < domains; ++d) {
        for (int h = 0; h < hostsPerDomain; h += 3) {
            list.Selected(QStringLiteral("host%1-%2").arg(d).arg(h), true);
        }
    }
}

// Median over rounds of the mean milliseconds of one fill; shown, the control paints after each.
double millisecondsPerFill(DomainList& list, bool paint)
{
    constexpr int rounds = 9;
    constexpr int fillsPerRound = 25;
    std::vector<double> means;
    for (int r = 0; r < rounds; ++r) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < fillsPerRound; ++i) {
            fill(list);
            if (paint) {
                list.repaint();
                QCoreApplication::processEvents();
            }
        }
        means.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6 / fillsPerRound);
    }
    std::nth_element(means.begin(), means.begin() + rounds / 2, means.end());
    return means[rounds / 2];
}

void report(const char* mode, double perFill)
{
    std::printf("%-8s %-12.3f %.1f\n", mode, perFill, perFill * 1000.0 / rowsPerFill);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    DomainList list;
    fill(list); // first use: fonts and styles

    std::printf("%d rows per fill (%d domains, %d hosts)\n", rowsPerFill, domains, domains * hostsPerDomain);
    std::printf("%-8s %-12s %s\n", "control", "ms/fill", "us/row");
    report("hidden", millisecondsPerFill(list, false));
    list.show();
    QElapsedTimer waited;
    waited.start();
    while (!list.windowHandle()->isExposed() && waited.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    if (!list.windowHandle()->isExposed()) {
        std::fprintf(stderr, "the control was never shown\n");
        return 1;
    }
    report("shown", millisecondsPerFill(list, true));
    return 0;
}
