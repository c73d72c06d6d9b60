#include "SeededQuorvex.h"

#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>

SeededQuorvex::SeededQuorvex(quint16 port, int intervalMinutes, const QString& binary, const QByteArray& firstLocator,
                             const QByteArray& hosts)
    : m_port(port), m_intervalMinutes(intervalMinutes), m_firstLocator(firstLocator), m_hosts(hosts)
{
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("no temporary directory");
        return;
    }
    m_program = m_dir.filePath(QFileInfo(binary).fileName());
    if (!QFile::copy(binary, m_program)) {
        m_error = QStringLiteral("cannot copy ") + binary;
        return;
    }
    const QString program = m_program;
    QFile::setPermissions(program, QFile::permissions(program) | QFileDevice::ExeOwner);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("no_proxy"), QStringLiteral("*"));
    m_process.setProcessEnvironment(environment);
    // The platform plugin's chatter (and quorvex_srv's log) stays out of the report; it is kept
    // for a failed run.
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.setStandardOutputFile(m_dir.filePath(QStringLiteral("stderr.txt")));
}

SeededQuorvex::~SeededQuorvex()
{
    stop();
}

bool SeededQuorvex::writeFile(const QString& name, const QByteArray& bytes)
{
    QFile file(m_dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        m_error = QStringLiteral("cannot write ") + file.fileName();
        return false;
    }
    return true;
}

bool SeededQuorvex::start()
{
    const QByteArray host = "127.0.0.1:" + QByteArray::number(m_port);
    QByteArray conf = "0\r\n" + QByteArray::number(m_intervalMinutes) + (m_useMachineAddress ? "\r\n 1 " : "\r\n 0 ") +
                      "\r\n 0 \r\n0\r\n";
    conf += host + m_firstLocator + "\r\n";
    for (const char* page : {"/whatismyip", "/echo1", "/echo2", "/echo3"}) {
        if (m_firstLocator != page) {
            conf += host + page + "\r\n";
        }
    }
    if (!writeFile(QStringLiteral("Update.ini"), "http://" + host + "/dyn/update\r\n1.3\r\n0\r\n") ||
        !writeFile(QStringLiteral("Conf.ini"), conf) ||
        !writeFile(QStringLiteral("Account.ini"), "demo\r\ndemo123\r\n" + m_hosts)) {
        return false;
    }
    m_startedAt = std::chrono::steady_clock::now();
    m_process.start(m_program, {});
    if (!m_process.waitForStarted(10000)) {
        m_error = QStringLiteral("cannot start ") + m_program + QStringLiteral(": ") + m_process.errorString();
        return false;
    }
    return true;
}

QString SeededQuorvex::errorOutput() const
{
    QFile file(m_dir.filePath(QStringLiteral("stderr.txt")));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void SeededQuorvex::stop()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}
