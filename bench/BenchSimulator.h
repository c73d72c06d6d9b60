#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QProcess>
#include <QString>

#include <chrono>

// quorvex-sim on a fixed loopback port, its request lines read from its standard output as they
// come and stamped with the time of their arrival: the moment the service received a request,
// to within the time a line takes through a pipe.
class BenchSimulator : public QObject
{
    Q_OBJECT

public:
    using Clock = std::chrono::steady_clock;
    struct Request
    {
        Clock::time_point at;
        QString line; // "GET <raw target>"
    };

    BenchSimulator();
    ~BenchSimulator() override;

    bool start(quint16 port, const QString& dataFile);
    QString errorString() const { return m_error; }
    bool isRunning() const { return m_process.state() == QProcess::Running; }

    const QList<Request>& requests() const { return m_requests; }
    // Runs the event loop until a request whose line starts with prefix has arrived at index
    // `from` or later; its index, or -1 after timeoutMs.
    qsizetype waitFor(const QString& prefix, qsizetype from, int timeoutMs);

signals:
    void requestArrived(const QString& line);

private:
    void readLines();

    QProcess m_process;
    QByteArray m_partial;
    bool m_listening = false;
    QList<Request> m_requests;
    QString m_error;
};
