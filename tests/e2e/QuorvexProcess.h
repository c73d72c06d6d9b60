#pragma once

#include "support/TemporaryAppDirectory.h"

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// The built quorvex binary, copied into a fresh application directory of its own and run from
// there headless, as a user would run an unpacked program. Its working directory is elsewhere,
// so a file written beside the program was written where the program means to keep it. The
// process is killed when this object goes.
class QuorvexProcess
{
public:
    QuorvexProcess();
    ~QuorvexProcess();
    QuorvexProcess(const QuorvexProcess&) = delete;
    QuorvexProcess& operator=(const QuorvexProcess&) = delete;

    // The program's own file name in its directory.
    static QString programName();

    // false when the directory could not be made or the binary not copied; errorString() says why.
    bool isReady() const { return m_error.isEmpty(); }
    QString errorString() const { return m_error; }
    const TemporaryAppDirectory& directory() const { return m_dir; }
    // The files in the application directory other than the program.
    QStringList writtenFiles() const;

    bool start();
    // Also notices an end that the event loop has not reported yet.
    bool isRunning();
    qint64 processId() const;
    // What the program wrote to standard error and output, and how it ended, for a failure's report.
    QString output();
    void kill();

private:
    TemporaryAppDirectory m_dir;
    QTemporaryDir m_outputDir;
    QProcess m_process;
    QString m_error;
    bool m_started = false;
};
