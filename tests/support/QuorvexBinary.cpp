#include "QuorvexBinary.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

QuorvexBinary::QuorvexBinary(const QString& binary, quint16 port)
    : sim(SimulatorProcess::defaultDataFile(), port), m_binary(binary)
{}

QuorvexBinary::~QuorvexBinary()
{
    m_process.kill();
    m_process.waitForFinished();
}

void QuorvexBinary::SetUp()
{
    ASSERT_TRUE(dir.isValid() && m_workDir.isValid());
    ASSERT_TRUE(QFile::copy(m_binary, dir.filePath(u"quorvex"_s))) << m_binary.toStdString();
    ASSERT_TRUE(sim.start()) << "no simulator on the build's service port " << sim.port()
                             << " (is another one running?): " << sim.errorString().toStdString();
    // No proxy between the program and the simulator on loopback.
    qputenv("no_proxy", "*");
    qputenv("NO_PROXY", "*");
}

void QuorvexBinary::seedFiles(int intervalMinutes)
{
    const QString conf = u"0\r\n%1\r\n 0 \r\n 0 \r\n0\r\n%2/whatismyip\r\n%2/echo1\r\n%2/echo2\r\n%2/echo3\r\n"_s;
    dir.writeBytes(u"Conf.ini"_s, conf.arg(intervalMinutes).arg(sim.hostAndPort()).toUtf8());
    dir.writeBytes(u"Update.ini"_s, u"http://%1/dyn/update\r\n1.3\r\n0\r\n"_s.arg(sim.hostAndPort()).toUtf8());
    dir.writeBytes(u"Account.ini"_s, "demo\r\ndemo123\r\nwww.example.com\r\n");
}

bool QuorvexBinary::start()
{
    m_process.setWorkingDirectory(m_workDir.path());
    // A file, not a pipe: nobody drains a pipe while the test waits.
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.setStandardOutputFile(m_workDir.filePath(u"output.txt"_s));
    m_process.start(dir.filePath(u"quorvex"_s), {});
    return m_process.waitForStarted(10000);
}

bool QuorvexBinary::isRunning()
{
    m_process.waitForFinished(0);
    return m_process.state() == QProcess::Running;
}

bool QuorvexBinary::waitFor(const std::function<bool()>& condition, int milliseconds)
{
    for (const QDeadlineTimer deadline(milliseconds); !condition(); QTest::qWait(100)) {
        if (deadline.hasExpired()) {
            return false;
        }
    }
    return true;
}

QStringList QuorvexBinary::requestsTo(const QString& path)
{
    return sim.requestLog().filter(QRegularExpression(u"^GET "_s + QRegularExpression::escape(path) + u"(\\?|$)"_s));
}

std::string QuorvexBinary::context()
{
    const QString end = isRunning() ? QString() : u"quorvex ended, code "_s + QString::number(m_process.exitCode());
    return QString(u"\nrequests received:\n  "_s + sim.requestLog().join(u"\n  "_s) + u"\nquorvex output:\n"_s +
                   QString::fromUtf8(m_workDir.readBytes(u"output.txt"_s)) + end)
        .toStdString();
}
