// What one more log line costs once the log already holds 1,000, 10,000 and 100,000 lines.
// A year of five-minute updates writes over 100,000 lines, and the program never trims its log,
// so a line appended late must cost about what one appended early does.

#include "EventLog.h"
#include "LogView.h"
#include "SystemClock.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace {

const QString updateLine = QStringLiteral("Attempting to update IPs ...");

void fill(EventLog& log, qsizetype& held, qsizetype lines)
{
    for (; held < lines; ++held) {
        log.appendMessage(updateLine);
        if (held % 1000 == 0) {
            QCoreApplication::processEvents();
        }
    }
}

// Appends `count` lines one at a time, letting the window repaint between them as it does
// between timer ticks, and returns the mean cost of one line in microseconds.
double microsecondsPerLine(EventLog& log, int count)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < count; ++i) {
        log.appendMessage(updateLine);
        QCoreApplication::processEvents();
    }
    return static_cast<double>(timer.nsecsElapsed()) / 1000.0 / count;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    SystemClock clock;
    EventLog log(clock);
    LogView view;
    QObject::connect(&log, &EventLog::appended, &view, &LogView::appendChunk);
    view.resize(600, 400);
    view.show();

    const int sample = 2000;
    double first = 0.0;
    std::printf("%-12s %-16s %s\n", "log lines", "us per line", "ratio to 1,000");
    qsizetype held = 0;
    for (const qsizetype lines : {qsizetype{1000}, qsizetype{10000}, qsizetype{100000}}) {
        fill(log, held, lines);
        const double cost = microsecondsPerLine(log, sample);
        held += sample;
        if (first == 0.0) {
            first = cost;
        }
        std::printf("%-12lld %-16.1f %.2f\n", static_cast<long long>(lines), cost, cost / first);
    }
    return 0;
}
