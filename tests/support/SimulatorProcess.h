#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class QNetworkAccessManager;

// Runs the built quorvex-sim on a free loopback port for the life of a test, and talks to it.
//
//   SimulatorProcess sim;
//   ASSERT_TRUE(sim.start());
//   sim.control(QStringLiteral("/control/fault?path=/echo1&kind=hang"));
//   int status = 0;
//   QByteArray body = sim.get(QStringLiteral("/ipupdate/dyndata.txt"), &status);
class SimulatorProcess
{
public:
    // port 0 lets the simulator pick a free port; a fixed one is for a program whose service port
    // is compiled in (tests that use one take a CTest RESOURCE_LOCK).
    explicit SimulatorProcess(QString dataFile = defaultDataFile(), quint16 port = 0);
    ~SimulatorProcess();
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;

    // tests/data/sim-test.txt
    static QString defaultDataFile();

    // Starts the simulator on the port given to the constructor and waits up to 10 s for its
    // "listening on" line.
    bool start();
    quint16 port() const { return m_port; }
    QString hostAndPort() const; // "127.0.0.1:<port>"
    QString baseUrl() const;     // "http://127.0.0.1:<port>"
    // Why start() failed, with what the simulator wrote to stderr.
    QString errorString() const { return m_error; }

    // A GET of baseUrl() + pathAndQuery, sent as written (percent escapes kept), without a proxy,
    // not following redirects, for at most 10 s. *status is the HTTP status, 0 when none came.
    QByteArray get(const QString& pathAndQuery, int* status = nullptr);
    // true when the control page answered 200.
    bool control(const QString& pathAndQuery);
    // The lines of /control/log: "GET <raw target>" for each request since the last clear.
    QStringList requestLog();
    void clearLog();

private:
    QString m_dataFile;
    quint16 m_requestedPort = 0;
    QProcess m_process;
    QTemporaryDir m_outputDir;
    quint16 m_port = 0;
    QString m_error;
    std::unique_ptr<QNetworkAccessManager> m_network;
};
