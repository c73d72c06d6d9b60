#pragma once

#include <QtGlobal>

// What another process holds and has spent, read from the outside: resident memory from
// /proc/<pid>/status, CPU time of all its threads (ended ones included) from its CPU clock.
class ProcessMeter
{
public:
    struct Memory
    {
        qint64 peakKb = -1;     // VmHWM
        qint64 residentKb = -1; // VmRSS
        qint64 anonymousKb = -1;
        qint64 fileKb = -1;
    };

    static Memory memory(qint64 pid);
    // Seconds of CPU time, user and system; negative when the process cannot be read.
    static double cpuSeconds(qint64 pid);
    // The first three fields of /proc/loadavg.
    static QByteArray loadAverage();
};
