#include "EndToEndFixture.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTest>

using namespace Qt::StringLiterals;

EndToEndFixture::EndToEndFixture() : sim(SimulatorProcess::defaultDataFile(), QUORVEX_E2E_PORT) {}

void EndToEndFixture::SetUp()
{
    ASSERT_TRUE(quorvex.isReady()) << quorvex.errorString().toStdString();
    ASSERT_TRUE(sim.start()) << "the simulator did not start on the build's service port " << QUORVEX_E2E_PORT
                             << " (is another one running?): " << sim.errorString().toStdString();
}

void EndToEndFixture::TearDown()
{
    quorvex.kill();
}

QString EndToEndFixture::serviceHost()
{
    return u"127.0.0.1:"_s + QString::number(QUORVEX_E2E_PORT);
}

bool EndToEndFixture::waitFor(const std::function<bool()>& condition, int milliseconds)
{
    const QDeadlineTimer deadline(milliseconds);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QTest::qWait(100);
    }
    return true;
}

QByteArray EndToEndFixture::seededUpdateFile()
{
    return (u"http://"_s + serviceHost() + u"/dyn/update\r\n1.3\r\n0\r\n"_s).toUtf8();
}

void EndToEndFixture::seedFiles(int intervalMinutes, const QByteArray& account)
{
    const TemporaryAppDirectory& dir = quorvex.directory();
    dir.writeBytes(u"Update.ini"_s, seededUpdateFile());
    QString conf = u"0\r\n"_s + QString::number(intervalMinutes) + u"\r\n 0 \r\n 0 \r\n0\r\n"_s;
    for (const QString& page : {u"/whatismyip"_s, u"/echo1"_s, u"/echo2"_s, u"/echo3"_s}) {
        conf += serviceHost() + page + u"\r\n"_s;
    }
    dir.writeBytes(u"Conf.ini"_s, conf.toUtf8());
    dir.writeBytes(u"Account.ini"_s, account);
}

QStringList EndToEndFixture::requests()
{
    return sim.requestLog();
}

QStringList EndToEndFixture::requestsTo(const QString& path)
{
    QStringList matching;
    const QString line = u"GET "_s + path;
    for (const QString& request : sim.requestLog()) {
        if (request == line || request.startsWith(line + u'?')) {
            matching.append(request);
        }
    }
    return matching;
}

QMap<QString, QString> EndToEndFixture::records()
{
    QMap<QString, QString> byHost;
    for (const QString& line : QString::fromUtf8(sim.get(u"/control/records"_s)).split(u'\n', Qt::SkipEmptyParts)) {
        const qsizetype tab = line.indexOf(u'\t');
        if (tab > 0) {
            byHost.insert(line.left(tab), line.mid(tab + 1));
        }
    }
    return byHost;
}

std::string EndToEndFixture::context()
{
    const QString text =
        u"\nrequests received:\n  "_s + sim.requestLog().join(u"\n  "_s) + u"\nquorvex output:\n"_s + quorvex.output();
    return text.toStdString();
}
