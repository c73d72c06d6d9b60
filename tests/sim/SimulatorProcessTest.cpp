#include "support/SimulatorProcess.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

TEST(SimulatorProcess, RunsTheSimulatorOnAFreePort)
{
    SimulatorProcess sim;
    ASSERT_TRUE(sim.start()) << sim.errorString().toStdString();
    EXPECT_NE(sim.port(), 0);
    EXPECT_EQ(sim.baseUrl(), u"http://127.0.0.1:" + QString::number(sim.port()));

    int status = 0;
    EXPECT_EQ(sim.get(QStringLiteral("/ipupdate/dyndata.txt?unique=1"), &status),
              "url=http://" + sim.hostAndPort().toUtf8() + "/dyn/update\r\nversion=1.3\r\n");
    EXPECT_EQ(status, 200);

    // Escapes travel as written: %2B is a "+", and the special account validates.
    EXPECT_EQ(sim.get(QStringLiteral("/ipupdate/account_validate.jsp?login=o%26d%3Dd%23%25%2B%3B%20%C3%BC"
                                     "&password=p%26w%3D%23%25%2B%3B%20%C3%A9")),
              "0=Account validated");
    sim.get(QStringLiteral("/nothing"), &status);
    EXPECT_EQ(status, 404);

    EXPECT_TRUE(sim.control(QStringLiteral("/control/fault?path=/echo1&kind=500&times=1")));
    EXPECT_FALSE(sim.control(QStringLiteral("/control/fault?path=/echo1&kind=bogus")));
    EXPECT_EQ(sim.get(QStringLiteral("/echo1"), &status), "Internal Server Error");
    EXPECT_EQ(status, 500);

    sim.get(QStringLiteral("/redirect?to=%2Fecho2"), &status);
    EXPECT_EQ(status, 302);

    EXPECT_EQ(sim.requestLog(),
              QStringList({QStringLiteral("GET /ipupdate/dyndata.txt?unique=1"),
                           QStringLiteral("GET /ipupdate/account_validate.jsp?login=o%26d%3Dd%23%25%2B%3B%20%C3%BC"
                                          "&password=p%26w%3D%23%25%2B%3B%20%C3%A9"),
                           QStringLiteral("GET /nothing"), QStringLiteral("GET /echo1"),
                           QStringLiteral("GET /redirect?to=%2Fecho2")}));
    sim.clearLog();
    EXPECT_TRUE(sim.requestLog().isEmpty());
}

TEST(SimulatorProcess, PrintsListeningLineThenOneLinePerRequest)
{
    QProcess process;
    process.start(QStringLiteral(QUORVEX_SIM_PATH), {QStringLiteral("--port"), QStringLiteral("0"),
                                                     QStringLiteral("--data"), SimulatorProcess::defaultDataFile()});
    ASSERT_TRUE(process.waitForStarted(10000));
    QDeadlineTimer deadline(10000);
    while (!process.canReadLine() && !deadline.hasExpired()) {
        process.waitForReadyRead(100);
    }
    const QByteArray first = process.readLine();
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("^listening on 127\\.0\\.0\\.1:(\\d+)\n$")).match(QString::fromUtf8(first));
    ASSERT_TRUE(match.hasMatch()) << first.constData();

    QNetworkAccessManager network;
    network.setProxy(QNetworkProxy::NoProxy);
    for (const char* target : {"/echo3?a=%2B", "/control/records", "/keepalive?1"}) {
        QNetworkReply* reply = network.get(QNetworkRequest(
            QUrl::fromEncoded("http://127.0.0.1:" + match.captured(1).toUtf8() + target, QUrl::StrictMode)));
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
        EXPECT_EQ(reply->error(), QNetworkReply::NoError) << target;
        delete reply;
    }
    QByteArray rest;
    while (rest.count('\n') < 2 && !deadline.hasExpired()) {
        process.waitForReadyRead(100);
        rest += process.readAll();
    }
    // Control requests are not logged.
    EXPECT_EQ(rest, "GET /echo3?a=%2B\nGET /keepalive?1\n");
    process.kill();
    process.waitForFinished();
}

TEST(SimulatorProcess, BadDataFileExitsWithCode2AndNamesTheLine)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("bad.txt"));
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("account a b\nhost nowhere.com www.nowhere.com\n");
    out.close();

    QProcess process;
    process.start(QStringLiteral(QUORVEX_SIM_PATH),
                  {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--data"), file});
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitCode(), 2);
    const QString error = QString::fromUtf8(process.readAllStandardError());
    EXPECT_TRUE(error.contains(file + u":2: unknown domain")) << error.toStdString();

    SimulatorProcess sim(file);
    EXPECT_FALSE(sim.start());
    EXPECT_TRUE(sim.errorString().contains(u":2: unknown domain")) << sim.errorString().toStdString();
}

TEST(SimulatorProcess, BadOptionsExitWithCode2)
{
    for (const QStringList& arguments :
         {QStringList{QStringLiteral("--port"), QStringLiteral("x"), QStringLiteral("--data"),
                      SimulatorProcess::defaultDataFile()},
          QStringList{QStringLiteral("--port"), QStringLiteral("0")},
          QStringList{QStringLiteral("--bogus"), QStringLiteral("--data"), SimulatorProcess::defaultDataFile()}}) {
        QProcess process;
        process.start(QStringLiteral(QUORVEX_SIM_PATH), arguments);
        ASSERT_TRUE(process.waitForFinished(10000));
        EXPECT_EQ(process.exitCode(), 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(process.readAllStandardError().startsWith("quorvex-sim: "));
        EXPECT_TRUE(process.readAllStandardOutput().isEmpty());
    }
}
