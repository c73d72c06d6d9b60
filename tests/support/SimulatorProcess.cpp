#include "SimulatorProcess.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QTimer>
#include <QUrl>

#include <utility>

static QString simulatorPath()
{
#ifdef QUORVEX_SIM_PATH
    return QStringLiteral(QUORVEX_SIM_PATH);
#else
    return QString();
#endif
}

static constexpr int StartTimeoutMs = 10000;
static constexpr int RequestTimeoutMs = 10000;

SimulatorProcess::SimulatorProcess(QString dataFile, quint16 port)
    : m_dataFile(std::move(dataFile)), m_requestedPort(port)
{}

SimulatorProcess::~SimulatorProcess()
{
    m_network.reset();
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

QString SimulatorProcess::defaultDataFile()
{
    return QStringLiteral(QUORVEX_TEST_DATA "/sim-test.txt");
}

bool SimulatorProcess::start()
{
    if (simulatorPath().isEmpty()) {
        m_error = QStringLiteral("this build has no quorvex-sim");
        return false;
    }
    if (!m_outputDir.isValid()) {
        m_error = QStringLiteral("no temporary directory for the simulator's output");
        return false;
    }
    // Standard output goes to a file, not a pipe: a pipe nobody drains would stall the
    // simulator once its request log filled it.
    const QString outputFile = m_outputDir.filePath(QStringLiteral("stdout.txt"));
    const QString errorFile = m_outputDir.filePath(QStringLiteral("stderr.txt"));
    m_process.setStandardOutputFile(outputFile);
    m_process.setStandardErrorFile(errorFile);
    m_process.start(simulatorPath(),
                    {QStringLiteral("--port"), QString::number(m_requestedPort), QStringLiteral("--data"), m_dataFile});
    if (!m_process.waitForStarted(StartTimeoutMs)) {
        m_error = u"cannot start " + simulatorPath() + u": " + m_process.errorString();
        return false;
    }

    static const QRegularExpression listening(QStringLiteral("^listening on 127\\.0\\.0\\.1:(\\d+)\\n"));
    QDeadlineTimer deadline(StartTimeoutMs);
    while (!deadline.hasExpired()) {
        QFile output(outputFile);
        if (output.open(QIODevice::ReadOnly)) {
            const QRegularExpressionMatch match = listening.match(QString::fromUtf8(output.readAll()));
            if (match.hasMatch()) {
                m_port = static_cast<quint16>(match.captured(1).toUInt());
                return true;
            }
        }
        if (m_process.waitForFinished(20)) {
            break;
        }
    }
    QFile errors(errorFile);
    const QString errorText =
        errors.open(QIODevice::ReadOnly) ? QString::fromUtf8(errors.readAll()).trimmed() : QString();
    if (m_process.state() == QProcess::NotRunning) {
        m_error = u"quorvex-sim exited with code " + QString::number(m_process.exitCode()) + u": " + errorText;
    } else {
        m_error = u"quorvex-sim printed no \"listening on\" line within 10 s " + errorText;
    }
    m_process.kill();
    m_process.waitForFinished(5000);
    return false;
}

QString SimulatorProcess::hostAndPort() const
{
    return u"127.0.0.1:" + QString::number(m_port);
}

QString SimulatorProcess::baseUrl() const
{
    return u"http://" + hostAndPort();
}

QByteArray SimulatorProcess::get(const QString& pathAndQuery, int* status)
{
    if (status) {
        *status = 0;
    }
    if (!m_network) {
        m_network = std::make_unique<QNetworkAccessManager>();
        m_network->setProxy(QNetworkProxy::NoProxy);
    }
    QNetworkRequest request(QUrl::fromEncoded((baseUrl() + pathAndQuery).toUtf8(), QUrl::TolerantMode));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    QNetworkReply* reply = m_network->get(request);

    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    timeout.start(RequestTimeoutMs);
    if (!reply->isFinished()) {
        loop.exec();
    }
    if (!reply->isFinished()) {
        reply->abort();
    }
    QByteArray body = reply->readAll();
    if (status) {
        *status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    }
    reply->deleteLater();
    return body;
}

bool SimulatorProcess::control(const QString& pathAndQuery)
{
    int status = 0;
    get(pathAndQuery, &status);
    return status == 200;
}

QStringList SimulatorProcess::requestLog()
{
    return QString::fromUtf8(get(QStringLiteral("/control/log"))).split(u'\n', Qt::SkipEmptyParts);
}

void SimulatorProcess::clearLog()
{
    control(QStringLiteral("/control/log/clear"));
}
