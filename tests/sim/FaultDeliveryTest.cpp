#include "RawHttpClient.h"
#include "ServiceSimulator.h"
#include "SimulatorConnection.h"
#include "SimulatorServer.h"

#include <gtest/gtest.h>

// A simulator served in-process on a free port, watched through raw sockets.
class FaultDeliveryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SimulatorData data;
        QString error;
        ASSERT_TRUE(data.loadFile(QStringLiteral(QUORVEX_TEST_DATA "/sim-test.txt"), &error)) << error.toStdString();
        m_service = std::make_unique<ServiceSimulator>(std::move(data));
        m_server = std::make_unique<SimulatorServer>(m_service.get());
        ASSERT_TRUE(m_server->listen(0, &error)) << error.toStdString();
    }

    void setFault(const QByteArray& query)
    {
        RawHttpClient client(m_server->port());
        ASSERT_TRUE(client.get("/control/fault?" + query));
        ASSERT_EQ(client.status(), 200) << client.body().constData();
    }

    std::unique_ptr<ServiceSimulator> m_service;
    std::unique_ptr<SimulatorServer> m_server;
};

TEST_F(FaultDeliveryTest, NormalAnswerIsCompleteAndCloses)
{
    EXPECT_EQ(m_service->port(), m_server->port());
    RawHttpClient client(m_server->port());
    ASSERT_TRUE(client.get("/ipupdate/account_validate.jsp?login=demo&password=demo123"));
    EXPECT_EQ(client.head(), "HTTP/1.1 200 OK\r\nContent-Type: text/plain; charset=utf-8\r\n"
                             "Content-Length: 19\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(client.body(), "0=Account validated");
}

TEST_F(FaultDeliveryTest, RequestArrivingInPiecesIsAnswered)
{
    RawHttpClient client(m_server->port());
    // Bare line feeds and the head in one write; the server must not need more.
    ASSERT_TRUE(client.exchange("GET /echo2 HTTP/1.0\nHost: x\n\n"));
    EXPECT_EQ(client.status(), 200);
    EXPECT_TRUE(client.body().contains("203.0.113.7"));
}

TEST_F(FaultDeliveryTest, NonHttpBytesGetA400)
{
    RawHttpClient client(m_server->port());
    ASSERT_TRUE(client.exchange(QByteArray("\x16\x03\x01\x02\x00\x01", 6), 2000));
    EXPECT_EQ(client.status(), 400);
    EXPECT_TRUE(m_service->requestLog().isEmpty());
}

TEST_F(FaultDeliveryTest, DropClosesWithoutAnswer)
{
    setFault("path=/echo1&kind=drop");
    RawHttpClient client(m_server->port());
    ASSERT_TRUE(client.get("/echo1"));
    EXPECT_TRUE(client.received().isEmpty());
    EXPECT_EQ(m_service->requestLog(), QStringList({QStringLiteral("GET /echo1")}));
}

TEST_F(FaultDeliveryTest, HangKeepsTheConnectionOpenWithoutAnswer)
{
    setFault("path=/echo1&kind=hang");
    RawHttpClient hung(m_server->port());
    EXPECT_FALSE(hung.get("/echo1", 300));
    EXPECT_TRUE(hung.received().isEmpty());
    // Other paths are served meanwhile.
    RawHttpClient other(m_server->port());
    ASSERT_TRUE(other.get("/echo2"));
    EXPECT_EQ(other.status(), 200);
}

TEST_F(FaultDeliveryTest, ServerErrors)
{
    setFault("path=/echo1&kind=500&times=1");
    RawHttpClient withBody(m_server->port());
    ASSERT_TRUE(withBody.get("/echo1"));
    EXPECT_TRUE(withBody.received().startsWith("HTTP/1.1 500 Internal Server Error\r\n"));
    EXPECT_EQ(withBody.body(), "Internal Server Error");

    setFault("path=/echo1&kind=500-empty&times=1");
    RawHttpClient empty(m_server->port());
    ASSERT_TRUE(empty.get("/echo1"));
    EXPECT_EQ(empty.status(), 500);
    EXPECT_EQ(empty.contentLength(), 0);
    EXPECT_TRUE(empty.body().isEmpty());

    RawHttpClient healthy(m_server->port());
    ASSERT_TRUE(healthy.get("/echo1"));
    EXPECT_EQ(healthy.status(), 200);
}

TEST_F(FaultDeliveryTest, GarbageIsNotHttp)
{
    setFault("path=/ipupdate/dyndata.txt&kind=garbage");
    RawHttpClient client(m_server->port());
    ASSERT_TRUE(client.get("/ipupdate/dyndata.txt"));
    EXPECT_EQ(client.received(), SimulatorConnection::garbageBytes());
    EXPECT_FALSE(client.received().startsWith("HTTP/"));
}

TEST_F(FaultDeliveryTest, HugeSendsFiveMegabytes)
{
    setFault("path=/echo3&kind=huge");
    RawHttpClient client(m_server->port());
    ASSERT_TRUE(client.get("/echo3", 10000));
    EXPECT_EQ(client.status(), 200);
    EXPECT_EQ(client.contentLength(), ServiceSimulator::HugeBodySize);
    EXPECT_EQ(client.body().size(), ServiceSimulator::HugeBodySize);
}

TEST_F(FaultDeliveryTest, SlowTricklesTheBodyByteByByte)
{
    setFault("path=/ipupdate/account_validate.jsp&kind=slow&delay-ms=10");
    RawHttpClient client(m_server->port());
    ASSERT_TRUE(client.get("/ipupdate/account_validate.jsp?login=demo&password=demo123"));
    EXPECT_EQ(client.body(), "0=Account validated");
    // The head comes at once, then at least one arrival per body byte, spread over time.
    EXPECT_GE(client.arrivals().size(), 19);
    EXPECT_GE(client.arrivals().last() - client.arrivals().first(), 18 * 10 - 20);
}

TEST_F(FaultDeliveryTest, ResetCutsTheBodyInHalf)
{
    setFault("path=/whatismyip&kind=reset");
    RawHttpClient client(m_server->port());
    ASSERT_TRUE(client.get("/whatismyip"));
    EXPECT_EQ(client.status(), 200);
    const qsizetype announced = client.contentLength();
    ASSERT_GT(announced, 0);
    EXPECT_LT(client.body().size(), announced);
    EXPECT_TRUE(QByteArray("<html><head><title>What is my IP</title>").startsWith(client.body().left(40)));
    EXPECT_NE(client.error(), QAbstractSocket::UnknownSocketError);
}
