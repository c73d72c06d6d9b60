#include "ServiceSimulator.h"
#include "SimulatorData.h"
#include "SimulatorOptions.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace Qt::StringLiterals;

// The data files the tests and the demo start from load; fields are percent-decoded ("+" stays a plus).
TEST(Simulator, DataFilesLoad)
{
    SimulatorData demo;
    SimulatorData test;
    QString error;
    ASSERT_TRUE(demo.loadFile(QStringLiteral(QUORVEX_SIM_SOURCE_DIR "/demo-data.txt"), &error)) << error.toStdString();
    ASSERT_TRUE(test.loadFile(QStringLiteral(QUORVEX_TEST_DATA "/sim-test.txt"), &error)) << error.toStdString();
    EXPECT_EQ(demo.account(u"demo"_s)->domains, QStringList({u"example.com"_s, u"example.net"_s, u"example.org"_s}));
    EXPECT_EQ(test.account(u"o&d=d#%+; \u00fc"_s)->password, u"p&w=#%+; \u00e9"_s);
}

// A bad data file is refused with its line and what is wrong there; a bad command line with its fault.
TEST(Simulator, ErrorsSayWhatIsWrong)
{
    const std::tuple<bool, const char*, const char*> rows[] = {
        {false, "account a b\n\nacount c d\n", "f:3: unknown record \"acount\""},
        {false, "account a\n", "f:1: expected: account"},
        {false, "account a b\naccount a c\n", "f:2: account \"a\" is already"},
        {false, "account a b\nhost d.com w\n", "f:2: unknown domain \"d.com\""},
        {false, "account a b\ndomain a d.com\nhost d.com w 1.2.3.256\n", "f:3: \"1.2.3.256\" is not an IPv4 address"},
        {false, "account a%2 b\n", "f:1: field 2 holds a bad percent escape"},
        {false, "public-ip6 ::ffff:192.0.2.1\n", "f:1: \"::ffff:192.0.2.1\" is not an IPv6 address"},
        {true, "sim --port=x --data=f", "--port needs a number from 0 to 65535"},
        {true, "sim --port 0", "--data FILE is required"},
        {true, "sim --bogus", "unknown option \"--bogus\""},
    };
    for (const auto& [commandLine, input, expected] : rows) {
        SCOPED_TRACE(input);
        SimulatorOptions options;
        QString error;
        if (commandLine) {
            EXPECT_EQ(options.parse(QString::fromUtf8(input).split(u' ')), SimulatorOptions::Outcome::Error);
            error = options.error();
        } else {
            EXPECT_FALSE(SimulatorData().loadText(input, u"f"_s, &error));
        }
        EXPECT_TRUE(error.startsWith(QString::fromUtf8(expected))) << error.toStdString();
    }
}

// Only this machine may steer the simulator, however the control path is spelled.
TEST(Simulator, ControlPagesAnswerLoopbackPeersOnly)
{
    ServiceSimulator service{SimulatorData()};
    EXPECT_EQ(service.handle(HttpRequest::get("/control/public-ip?value=192.0.2.9"), false).response.status(), 403);
    EXPECT_EQ(service.handle(HttpRequest::get("/%63ontrol/public-ip?value=192.0.2.9"), false).response.status(), 403);
    EXPECT_EQ(service.data().publicIp(), u"203.0.113.7"_s);
    EXPECT_EQ(service.handle(HttpRequest::get("/control/public-ip?value=192.0.2.9"), true).response.status(), 200);
}
