#include "QuorvexProcess.h"

#include <QFile>
#include <QProcessEnvironment>

using namespace Qt::StringLiterals;

QuorvexProcess::QuorvexProcess()
{
    if (!m_dir.isValid() || !m_outputDir.isValid()) {
        m_error = u"no temporary directory"_s;
        return;
    }
    const QString program = m_dir.filePath(programName());
    if (!QFile::copy(QStringLiteral(QUORVEX_BINARY), program)) {
        m_error = u"cannot copy " QUORVEX_BINARY " to "_s + program;
        return;
    }
    QFile::setPermissions(program, QFile::permissions(program) | QFileDevice::ExeOwner);
}

QuorvexProcess::~QuorvexProcess()
{
    kill();
}

QString QuorvexProcess::programName()
{
    return u"quorvex"_s;
}

QStringList QuorvexProcess::writtenFiles() const
{
    QStringList files = m_dir.fileNames();
    files.removeAll(programName());
    return files;
}

bool QuorvexProcess::start()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    // Loopback only: no proxy may stand between the program and the simulator.
    environment.insert(u"no_proxy"_s, u"*"_s);
    environment.insert(u"NO_PROXY"_s, u"*"_s);
    m_process.setProcessEnvironment(environment);
    m_process.setWorkingDirectory(m_outputDir.path());
    // Files, not pipes: nobody drains a pipe while the test waits.
    m_process.setStandardOutputFile(m_outputDir.filePath(u"stdout.txt"_s));
    m_process.setStandardErrorFile(m_outputDir.filePath(u"stderr.txt"_s));
    m_process.start(m_dir.filePath(programName()), {});
    if (!m_process.waitForStarted(10000)) {
        m_error = u"cannot start quorvex: "_s + m_process.errorString();
        return false;
    }
    m_started = true;
    return true;
}

bool QuorvexProcess::isRunning()
{
    if (m_process.state() == QProcess::Running) {
        m_process.waitForFinished(0);
    }
    return m_process.state() == QProcess::Running;
}

qint64 QuorvexProcess::processId() const
{
    return m_process.processId();
}

QString QuorvexProcess::output()
{
    QString text;
    for (const QString& name : {u"stderr.txt"_s, u"stdout.txt"_s}) {
        QFile file(m_outputDir.filePath(name));
        if (file.open(QIODevice::ReadOnly)) {
            text += QString::fromUtf8(file.readAll());
        }
    }
    if (!m_error.isEmpty()) {
        text += m_error + u'\n';
    }
    if (m_started && m_process.state() == QProcess::NotRunning) {
        text += m_process.exitStatus() == QProcess::CrashExit
                    ? u"quorvex crashed\n"_s
                    : u"quorvex ended with exit code "_s + QString::number(m_process.exitCode()) + u'\n';
    }
    return text;
}

void QuorvexProcess::kill()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}
