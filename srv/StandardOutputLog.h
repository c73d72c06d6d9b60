#pragma once

#include "EventLog.h"

#include <QObject>
#include <QString>

#include <cstdio>

// Writes log entries to a stream (standard output), one line each, flushed at once, so that a
// service manager's journal keeps every entry even when the program is killed. When the stream is
// the journal (JOURNAL_STREAM names it), each line goes without the program's own time stamp,
// which the journal adds, and with its priority, so that the journal can show problems alone.
class StandardOutputLog : public QObject
{
    Q_OBJECT

public:
    explicit StandardOutputLog(std::FILE* stream, QObject* parent = nullptr);

    // One entry as the log gives it (EventLog::appended).
    void write(const QString& chunk, EventLog::Level level = EventLog::Level::Info);

    // The entry as one line: its own line breaks become spaces and it ends with one "\n".
    static QString line(const QString& chunk);
    // The line for the journal: "<3>" (the reason it ends), "<4>" (a fault) or "<6>", then the
    // entry without the time stamp before its " - ".
    static QString journalLine(const QString& chunk, EventLog::Level level);

private:
    std::FILE* m_stream;
    bool m_toJournal = false;
};
