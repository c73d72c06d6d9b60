#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <chrono>

// The built quorvex copied into a temporary application directory with the settings a finished
// wizard leaves (the version check off, so a start goes straight to the credential check), run
// headless against the simulator on the build's service port.
class SeededQuorvex
{
public:
    // The demo account with two hosts, the router address from the simulator's locator pages,
    // no keep-alive ping. Another program of the build (quorvex_srv) may run on such a directory
    // too, asking its own first locator page for its own hosts, so that the simulator can tell
    // the two programs' requests apart.
    SeededQuorvex(quint16 port, int intervalMinutes, const QString& binary = QStringLiteral(QUORVEX_BINARY),
                  const QByteArray& firstLocator = "/whatismyip",
                  const QByteArray& hosts = "www.example.com\r\nhome.example.net\r\n");
    ~SeededQuorvex();
    SeededQuorvex(const SeededQuorvex&) = delete;
    SeededQuorvex& operator=(const SeededQuorvex&) = delete;

    // The machine's own address as the address source instead of the router's.
    void setUseMachineAddress(bool machine) { m_useMachineAddress = machine; }

    bool isReady() const { return m_error.isEmpty(); }
    QString errorString() const { return m_error; }

    // Writes the settings files afresh and starts the program; the time taken just before.
    bool start();
    std::chrono::steady_clock::time_point startedAt() const { return m_startedAt; }
    bool isRunning() const { return m_process.state() == QProcess::Running; }
    qint64 processId() const { return m_process.processId(); }
    // What the program wrote to standard error (its standard output too).
    QString errorOutput() const;
    void stop();

private:
    bool writeFile(const QString& name, const QByteArray& bytes);

    quint16 m_port;
    int m_intervalMinutes;
    QString m_program;
    QByteArray m_firstLocator;
    QByteArray m_hosts;
    bool m_useMachineAddress = false;
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_error;
    std::chrono::steady_clock::time_point m_startedAt;
};
