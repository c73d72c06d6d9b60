#include "ServiceSimulator.h"
#include "SimulatorData.h"
#include "support/SimulatorProcess.h"

#include <QHostAddress>
#include <QNetworkInterface>
#include <QTcpSocket>
#include <gtest/gtest.h>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Every way into the control pages, spelled as a client might.
QList<QByteArray> controlTargets()
{
    return {
        "/control/public-ip?value=192.0.2.99",
        "/control/version?value=9.9",
        "/control/status-line?value=on",
        "/control/fault?path=/echo1&kind=hang",
        "/control/log",
        "/control/log/clear",
        "/control/records",
        "/control",
        "/%63ontrol/public-ip?value=192.0.2.99",
        "/control%2Ffault?path=/echo2&kind=hang",
    };
}

// An address of this machine that is not a loopback address, if it has one.
std::optional<QHostAddress> nonLoopbackAddress()
{
    for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback()) {
            return address;
        }
    }
    return std::nullopt;
}

// One request from a socket bound to source, to the simulator on 127.0.0.1: the traffic stays on
// this machine, but the simulator sees a peer that is not loopback. Empty when no connection.
QByteArray requestFrom(const QHostAddress& source, quint16 port, const QByteArray& target)
{
    QTcpSocket socket;
    if (!socket.bind(source, 0)) {
        return {};
    }
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(3000)) {
        return {};
    }
    socket.write("GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
    QByteArray answer;
    while (socket.state() == QAbstractSocket::ConnectedState && socket.waitForReadyRead(3000)) {
        answer += socket.readAll();
    }
    return answer + socket.readAll();
}

} // namespace

// The running simulator, asked from another address of this machine: every control page is
// refused and changes nothing; the service pages are served as to anyone.
TEST(SimulatorControl, ControlPagesRefuseAPeerThatIsNotLoopback)
{
    const std::optional<QHostAddress> source = nonLoopbackAddress();
    if (!source) {
        GTEST_SKIP() << "this machine has no address but loopback";
    }
    SimulatorProcess sim;
    ASSERT_TRUE(sim.start()) << sim.errorString().toStdString();
    const QByteArray served = requestFrom(*source, sim.port(), "/echo1");
    if (served.isEmpty()) {
        GTEST_SKIP() << "no connection from " << source->toString().toStdString() << " to loopback";
    }
    EXPECT_TRUE(served.startsWith("HTTP/1.1 200 ")) << served.left(80).toStdString();
    EXPECT_TRUE(served.contains("203.0.113.7"));

    for (const QByteArray& target : controlTargets()) {
        const QByteArray answer = requestFrom(*source, sim.port(), target);
        EXPECT_TRUE(answer.startsWith("HTTP/1.1 403 "))
            << target.toStdString() << ": " << answer.left(80).toStdString();
        EXPECT_FALSE(answer.contains("GET /echo1")) << "the request log was shown";
    }
    // Nothing took effect: no fault, no new address, no version, no status line, the log kept.
    int status = 0;
    EXPECT_TRUE(sim.get(u"/echo1"_s, &status).contains("203.0.113.7"));
    EXPECT_EQ(status, 200);
    EXPECT_TRUE(sim.get(u"/echo2"_s, &status).contains("203.0.113.7"));
    const QByteArray version = sim.get(u"/ipupdate/dyndata.txt"_s);
    EXPECT_TRUE(version.endsWith("version=1.3\r\n")) << version.toStdString();
    EXPECT_FALSE(version.startsWith("HTTP/1.1"));
    EXPECT_TRUE(sim.requestLog().contains(u"GET /echo1"_s));
}

// The decision itself, for any peer the socket layer may report.
TEST(SimulatorControl, TheServiceAnswersControlPagesToLoopbackPeersOnly)
{
    SimulatorData data;
    QString error;
    ASSERT_TRUE(data.loadFile(QStringLiteral(QUORVEX_TEST_DATA "/sim-test.txt"), &error)) << error.toStdString();
    ServiceSimulator service(std::move(data));
    service.handle(HttpRequest::get("/echo3"), true);
    const QStringList log = service.requestLog();

    for (const QByteArray& target : controlTargets()) {
        const ServiceSimulator::Answer refused = service.handle(HttpRequest::get(target), false);
        EXPECT_EQ(refused.response.status(), 403) << target.toStdString();
        EXPECT_EQ(refused.fault.kind, FaultPlan::Kind::None);
    }
    EXPECT_EQ(service.faults().peek(u"/echo1"_s).kind, FaultPlan::Kind::None);
    EXPECT_EQ(service.faults().peek(u"/echo2"_s).kind, FaultPlan::Kind::None);
    EXPECT_TRUE(service.handle(HttpRequest::get("/echo1"), false).response.body().contains("203.0.113.7"));
    EXPECT_EQ(service.requestLog().mid(0, log.size()), log);

    // The same pages do answer on loopback.
    EXPECT_EQ(service.handle(HttpRequest::get("/control/public-ip?value=192.0.2.99"), true).response.status(), 200);
    EXPECT_TRUE(service.handle(HttpRequest::get("/echo1"), false).response.body().contains("192.0.2.99"));
}
