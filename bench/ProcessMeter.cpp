#include "ProcessMeter.h"

#include <QFile>
#include <QList>

#include <ctime>
#include <sys/types.h>

namespace {

qint64 kilobytes(const QByteArray& line)
{
    // "VmRSS:\t   31234 kB"
    const QList<QByteArray> fields = line.simplified().split(' ');
    return fields.size() >= 2 ? fields.at(1).toLongLong() : -1;
}

} // namespace

ProcessMeter::Memory ProcessMeter::memory(qint64 pid)
{
    Memory memory;
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) {
        return memory;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            memory.peakKb = kilobytes(line);
        } else if (line.startsWith("VmRSS:")) {
            memory.residentKb = kilobytes(line);
        } else if (line.startsWith("RssAnon:")) {
            memory.anonymousKb = kilobytes(line);
        } else if (line.startsWith("RssFile:")) {
            memory.fileKb = kilobytes(line);
        }
    }
    return memory;
}

double ProcessMeter::cpuSeconds(qint64 pid)
{
    clockid_t clock{};
    timespec spent{};
    if (clock_getcpuclockid(static_cast<pid_t>(pid), &clock) != 0 || clock_gettime(clock, &spent) != 0) {
        return -1.0;
    }
    return static_cast<double>(spent.tv_sec) + static_cast<double>(spent.tv_nsec) / 1e9;
}

QByteArray ProcessMeter::loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly)) {
        return "?";
    }
    const QList<QByteArray> fields = file.readAll().split(' ');
    return fields.mid(0, 3).join(' ');
}
