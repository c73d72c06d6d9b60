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

QString updateLine()
{
    return QStringLiteral("Attempting to update IPs ...");
}

void fill(EventLog& log, qsizetype& held, qsizetype lines)
{
    for (; held < lines; ++held) {
        log.appendMessage(updateLine());
        if (held % 1000 == 0) {
            QCoreApplication::processEvents();
        }
    }
}

// Appends `count` lines one at a time and returns the mean cost of one line in microseconds.
// With repaint, the window paints between lines as it does between timer ticks.
double microsecondsPerLine(EventLog& log, int count, bool repaint)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < count; ++i) {
        log.appendMessage(updateLine());
        if (repaint) {
            QCoreApplication::processEvents();
        }
    }
    QCoreApplication::processEvents();
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
    double firstAppend = 0.0;
    double firstPainted = 0.0;
    std::printf("%-10s %-16s %-8s %-24s %s\n", "log lines", "append us/line", "ratio", "append+paint us/line", "ratio");
    qsizetype held = 0;
    for (const qsizetype lines : {qsizetype{1000}, qsizetype{10000}, qsizetype{100000}}) {
        fill(log, held, lines);
        const double append = microsecondsPerLine(log, sample, false);
        const double painted = microsecondsPerLine(log, sample / 10, true);
        held += sample + sample / 10;
        if (firstAppend == 0.0) {
            firstAppend = append;
            firstPainted = painted;
        }
        std::printf("%-10lld %-16.1f %-8.2f %-24.1f %.2f\n", static_cast<long long>(lines), append,
                    append / firstAppend, painted, painted / firstPainted);
    }
    return 0;
}
