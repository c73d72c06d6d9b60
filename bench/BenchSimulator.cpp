#include "BenchSimulator.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

BenchSimulator::BenchSimulator()
{
    connect(&m_process, &QProcess::readyReadStandardOutput, this, &BenchSimulator::readLines);
}

BenchSimulator::~BenchSimulator()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

bool BenchSimulator::start(quint16 port, const QString& dataFile)
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(QUORVEX_SIM_PATH),
                    {QStringLiteral("--port"), QString::number(port), QStringLiteral("--data"), dataFile});
    if (!m_process.waitForStarted(10000)) {
        m_error = QStringLiteral("cannot start " QUORVEX_SIM_PATH ": ") + m_process.errorString();
        return false;
    }
    const QDeadlineTimer deadline(10000);
    while (!m_listening && m_process.state() == QProcess::Running && !deadline.hasExpired()) {
        m_process.waitForReadyRead(100);
    }
    if (!m_listening) {
        m_error = QStringLiteral("quorvex-sim did not listen on port %1 (is another one running there?)").arg(port);
        return false;
    }
    return true;
}

void BenchSimulator::readLines()
{
    const Clock::time_point now = Clock::now();
    m_partial += m_process.readAllStandardOutput();
    qsizetype end = 0;
    while ((end = m_partial.indexOf('\n')) >= 0) {
        const QString line = QString::fromUtf8(m_partial.left(end));
        m_partial.remove(0, end + 1);
        if (!m_listening) {
            m_listening = line.startsWith(QStringLiteral("listening on "));
            continue;
        }
        m_requests.append({now, line});
        emit requestArrived(line);
    }
}

qsizetype BenchSimulator::waitFor(const QString& prefix, qsizetype from, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        for (qsizetype i = from; i < m_requests.size(); ++i) {
            if (m_requests.at(i).line.startsWith(prefix)) {
                return i;
            }
        }
        if (deadline.hasExpired() || m_process.state() != QProcess::Running) {
            return -1;
        }
        // Sleep until a line comes: a busy wait would take a core from the program measured.
        QEventLoop loop;
        QTimer wake;
        connect(&wake, &QTimer::timeout, &loop, &QEventLoop::quit);
        connect(&m_process, &QProcess::readyReadStandardOutput, &loop, &QEventLoop::quit);
        connect(&m_process, &QProcess::finished, &loop, &QEventLoop::quit);
        wake.start(100);
        loop.exec();
    }
}
