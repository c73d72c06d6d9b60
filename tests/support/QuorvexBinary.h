#pragma once

#include "support/SimulatorProcess.h"
#include "support/TemporaryAppDirectory.h"

#include <QProcess>
#include <QStringList>
#include <gtest/gtest.h>

#include <functional>
#include <string>

// The built quorvex, copied into an application directory of its own and run headless from
// there, as a user runs an unpacked program, against quorvex-sim on the service port compiled
// into it. Its working directory is elsewhere, so a file found beside the program was written
// where the program keeps its settings. Tests see the program only from outside: the requests
// the simulator received, and the process. The process is killed when the test ends.
class QuorvexBinary : public ::testing::Test
{
protected:
    // The built binary and the build's service port.
    QuorvexBinary(const QString& binary, quint16 port);
    ~QuorvexBinary() override;

    void SetUp() override;

    // Settings as a finished wizard leaves them, with the version check off so the start goes
    // straight to the credential check: the interval in minutes, the simulator's locator pages,
    // no keep-alive ping, account demo/demo123 updating www.example.com.
    void seedFiles(int intervalMinutes);
    bool start();
    // Also notices an end the event loop has not reported yet.
    bool isRunning();
    // Polls the condition, running the event loop between polls.
    static bool waitFor(const std::function<bool()>& condition, int milliseconds);
    // The simulator's log lines "GET <target>" for one path.
    QStringList requestsTo(const QString& path);
    // The requests received and the program's output and end, to explain a failure.
    std::string context();

    SimulatorProcess sim;
    TemporaryAppDirectory dir;

private:
    QString m_binary;
    TemporaryAppDirectory m_workDir;
    QProcess m_process;
};
