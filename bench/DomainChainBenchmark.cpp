// How long the domain and host listing takes for an account with 50 domains, over real HTTP on
// loopback against quorvex-sim: one domains request, then the hosts of one domain after another,
// each asked for from the completion of the one before, with both temporary files written and
// read back at every answer. Timed from GetDomains() to the end of the chain (the ticks restored
// from the account file), which is what a user waits for after "Refresh List".

#include "AccountFile.h"
#include "Desktop.h"
#include "DomainHostLists.h"
#include "EventLog.h"
#include "HttpPageRequester.h"
#include "ServiceUrls.h"
#include "SettingsModel.h"
#include "SystemClock.h"
#include "UpdateExchange.h"
#include "WizardHostStep.h"
#include "support/FakeHostChecklist.h"
#include "support/FakeMainForm.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr int domainCount = 50;
constexpr int hostCount = 76;
constexpr int timedRuns = 20;

// A fatal message would end the program: the run is reported as failed instead.
class BenchDesktop : public Desktop
{
public:
    void openUrl(const QString&) override {}
    void endProgram(Ending) override { m_ended = true; }
    bool hasEnded() const override { return m_ended; }

protected:
    Answer showMessage(const QString& title, const QString& text, Icon, Buttons) override
    {
        std::fprintf(stderr, "message box \"%s\": %s\n", qPrintable(title), qPrintable(text));
        return Answer::Ok;
    }

private:
    bool m_ended = false;
};

class NoWizard : public WizardHostStep
{
public:
    bool isOpen() const override { return false; }
    HostChecklist& checklist() override { return m_list; }
    void enableNext() override {}

private:
    FakeHostChecklist m_list;
};

// Starts quorvex-sim on a free port; the port, or 0 when it did not come up.
quint16 startSimulator(QProcess& sim, const QTemporaryDir& dir)
{
    const QString output = dir.filePath(u"sim-stdout.txt"_s);
    // A file, not a pipe: the simulator logs every request to its standard output.
    sim.setStandardOutputFile(output);
    sim.start(QStringLiteral(QUORVEX_SIM_PATH), {u"--port"_s, u"0"_s, u"--data"_s, QStringLiteral(QUORVEX_CHAIN_DATA)});
    if (!sim.waitForStarted(10000)) {
        return 0;
    }
    static const QRegularExpression listening(u"^listening on 127\\.0\\.0\\.1:([0-9]+)\\n"_s);
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired() && !sim.waitForFinished(20)) {
        QFile file(output);
        if (file.open(QIODevice::ReadOnly)) {
            const auto match = listening.match(QString::fromUtf8(file.readAll()));
            if (match.hasMatch()) {
                return static_cast<quint16>(match.captured(1).toUInt());
            }
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QTemporaryDir dir;
    QProcess sim;
    const quint16 port = dir.isValid() ? startSimulator(sim, dir) : 0;
    if (port == 0) {
        std::fprintf(stderr, "quorvex-sim did not start: %s\n", QUORVEX_SIM_PATH);
        return 1;
    }

    SettingsModel model;
    model.ConfigPath = dir.path() + u"/"_s;
    if (!AccountFile::write(model.ConfigPath, u"bench"_s, u"bench-pass"_s,
                            {u"www.d01.bench.test"_s, u"mail.d25.bench.test"_s, u"www.d50.bench.test"_s})) {
        std::fprintf(stderr, "cannot write the account file\n");
        return 1;
    }
    FakeMainForm form;
    form.user = u"bench"_s;
    form.pass = u"bench-pass"_s;
    FakeHostChecklist checklist;
    NoWizard wizard;
    BenchDesktop desktop;
    SystemClock clock;
    EventLog log(clock);
    const ServiceUrls urls(u"127.0.0.1:"_s + QString::number(port));

    QNetworkAccessManager manager;
    manager.setProxy(QNetworkProxy::NoProxy);
    HttpPageRequester wb_domains(manager);
    HttpPageRequester wb_hosts(manager);
    HttpPageRequester wb_setip(manager);
    UpdateExchange updates(wb_setip, model, form, log, clock);
    DomainHostLists lists(wb_domains, wb_hosts, model, form, checklist, wizard, updates, log, desktop, clock, urls);

    QList<double> totals;
    for (int run = 0; run <= timedRuns; ++run) {
        QEventLoop loop;
        QObject::connect(&lists, &DomainHostLists::chainEnded, &loop, &QEventLoop::quit);
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, &loop, &QEventLoop::quit);
        // A fatal message ends the chain without chainEnded.
        QTimer endedCheck;
        QObject::connect(&endedCheck, &QTimer::timeout, &loop, [&] {
            if (desktop.hasEnded()) {
                loop.quit();
            }
        });
        endedCheck.start(10);
        watchdog.start(30000);

        QElapsedTimer timer;
        timer.start();
        lists.GetDomains();
        loop.exec();
        const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;

        const bool complete = checklist.rows().size() == domainCount + hostCount && checklist.SelCount() == 3 &&
                              lists.lstDomain().isEmpty();
        if (desktop.hasEnded() || !watchdog.isActive() || !complete) {
            std::fprintf(stderr, "run %d did not list %d domains and %d hosts (%lld rows)\n", run, domainCount,
                         hostCount, static_cast<long long>(checklist.rows().size()));
            return 1;
        }
        // The first run warms up connections, the file system and the simulator.
        if (run > 0) {
            totals.append(ms);
        }
    }

    std::sort(totals.begin(), totals.end());
    const double median = (totals.at(timedRuns / 2 - 1) + totals.at(timedRuns / 2)) / 2.0;
    std::printf("chain of %d domains (%d hosts), %d runs after one warm-up\n", domainCount, hostCount, timedRuns);
    std::printf("%-8s %-10s %s\n", "", "total ms", "ms/domain");
    std::printf("%-8s %-10.1f %.2f\n", "min", totals.constFirst(), totals.constFirst() / domainCount);
    std::printf("%-8s %-10.1f %.2f\n", "median", median, median / domainCount);
    std::printf("%-8s %-10.1f %.2f\n", "max", totals.constLast(), totals.constLast() / domainCount);

    sim.kill();
    sim.waitForFinished(5000);
    return 0;
}
