#pragma once

#include <QObject>
#include <QString>

#include <cstdio>

// Writes log entries to a stream (standard output), one line each, flushed at once, so that a
// service manager's journal keeps every entry even when the program is killed.
class StandardOutputLog : public QObject
{
    Q_OBJECT

public:
    explicit StandardOutputLog(std::FILE* stream, QObject* parent = nullptr);

    // One entry as the log gives it (EventLog::appended).
    void write(const QString& chunk);

    // The entry as one line: its own line breaks become spaces and it ends with one "\n".
    static QString line(const QString& chunk);

private:
    std::FILE* m_stream;
};
