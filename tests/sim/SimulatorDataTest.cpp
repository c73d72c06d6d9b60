#include "SimulatorData.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

static QString loadError(const QByteArray& text)
{
    SimulatorData data;
    QString error;
    EXPECT_FALSE(data.loadText(text, QStringLiteral("bad.txt"), &error));
    return error;
}

TEST(SimulatorData, LoadsRecordsWithPercentDecodedFields)
{
    SimulatorData data;
    QString error;
    ASSERT_TRUE(data.loadText("# comment\n"
                              "\n"
                              "  account   a%20b%26c   p%2Bq+r%3D%C3%A9  \r\n"
                              "domain a%20b%26c example.com\n"
                              "host example.com www.example.com 192.0.2.1\n"
                              "host example.com mail.example.com\n"
                              "\tdomain a%20b%26c example.org\n"
                              "public-ip 198.51.100.3\n"
                              "version 1.4%20beta\n",
                              QStringLiteral("good.txt"), &error))
        << error.toStdString();

    const SimulatorData::Account* account = data.account(QStringLiteral("a b&c"));
    ASSERT_NE(account, nullptr);
    EXPECT_EQ(account->password, QStringLiteral("p+q+r=\u00e9"));
    EXPECT_EQ(account->domains, QStringList({QStringLiteral("example.com"), QStringLiteral("example.org")}));
    EXPECT_EQ(data.domain(QStringLiteral("example.com"))->hosts,
              QStringList({QStringLiteral("www.example.com"), QStringLiteral("mail.example.com")}));
    EXPECT_EQ(data.host(QStringLiteral("www.example.com"))->address, QStringLiteral("192.0.2.1"));
    EXPECT_TRUE(data.host(QStringLiteral("mail.example.com"))->address.isEmpty());
    EXPECT_FALSE(data.host(QStringLiteral("mail.example.com"))->lastUpdate.isValid());
    EXPECT_EQ(data.publicIp(), QStringLiteral("198.51.100.3"));
    EXPECT_EQ(data.version(), QStringLiteral("1.4 beta"));
}

TEST(SimulatorData, DefaultsWithoutPublicIpOrVersion)
{
    SimulatorData data;
    QString error;
    ASSERT_TRUE(data.loadText("account x y\n", QStringLiteral("t"), &error));
    EXPECT_EQ(data.publicIp(), QStringLiteral("203.0.113.7"));
    EXPECT_EQ(data.version(), QStringLiteral("1.3"));
}

TEST(SimulatorData, ErrorsNameTheFileAndLine)
{
    EXPECT_EQ(loadError("account a b\n\nacount c d\n"), QStringLiteral("bad.txt:3: unknown record \"acount\" "
                                                                       "(expected account, domain, host, public-ip "
                                                                       "or version)"));
    EXPECT_TRUE(loadError("account a\n").startsWith(u"bad.txt:1: expected: account"));
    EXPECT_TRUE(loadError("account a b c\n").startsWith(u"bad.txt:1: expected: account"));
    EXPECT_TRUE(loadError("account a b\naccount a c\n").startsWith(u"bad.txt:2: account \"a\" is already"));
    EXPECT_TRUE(loadError("# x\ndomain nobody example.com\n").startsWith(u"bad.txt:2: unknown account \"nobody\""));
    EXPECT_TRUE(loadError("account a b\ndomain a d.com\ndomain a d.com\n").startsWith(u"bad.txt:3: domain"));
    EXPECT_TRUE(loadError("account a b\nhost d.com www.d.com\n").startsWith(u"bad.txt:2: unknown domain \"d.com\""));
    EXPECT_TRUE(loadError("account a b\ndomain a d.com\nhost d.com w\nhost d.com w\n").startsWith(u"bad.txt:4: host"));
    EXPECT_TRUE(loadError("account a b\ndomain a d.com\nhost d.com w 1.2.3.256\n")
                    .startsWith(u"bad.txt:3: \"1.2.3.256\" is not an IPv4 address"));
    EXPECT_TRUE(
        loadError("account a b\ndomain a d.com\nhost d.com w 1.2.3.4 extra\n").startsWith(u"bad.txt:3: expected"));
    EXPECT_TRUE(loadError("public-ip 999.1.2.3\n").startsWith(u"bad.txt:1: \"999.1.2.3\" is not"));
    EXPECT_TRUE(loadError("public-ip\n").startsWith(u"bad.txt:1: expected: public-ip"));
    EXPECT_TRUE(loadError("version 1 2\n").startsWith(u"bad.txt:1: expected: version"));
    EXPECT_TRUE(loadError("\n\naccount a%2 b\n").startsWith(u"bad.txt:3: field 2 holds a bad percent escape"));
    EXPECT_TRUE(loadError("account a %FF\n").startsWith(u"bad.txt:1: field 3 holds a bad percent escape or invalid"));
}

TEST(SimulatorData, FailedLoadKeepsWhatWasLoaded)
{
    SimulatorData data;
    QString error;
    ASSERT_TRUE(data.loadText("account keep me\npublic-ip 192.0.2.9\n", QStringLiteral("t"), &error));
    EXPECT_FALSE(data.loadText("account other x\nbogus\n", QStringLiteral("t"), &error));
    EXPECT_NE(data.account(QStringLiteral("keep")), nullptr);
    EXPECT_EQ(data.account(QStringLiteral("other")), nullptr);
    EXPECT_EQ(data.publicIp(), QStringLiteral("192.0.2.9"));
}

TEST(SimulatorData, LoadFileReportsAnUnreadableFile)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing.txt"));
    SimulatorData data;
    QString error;
    EXPECT_FALSE(data.loadFile(missing, &error));
    EXPECT_TRUE(error.startsWith(missing + u": cannot read")) << error.toStdString();
}

TEST(SimulatorData, ShippedDataFilesLoad)
{
    for (const QString& file :
         {QStringLiteral(QUORVEX_TEST_DATA "/sim-test.txt"), QStringLiteral(QUORVEX_SIM_SOURCE_DIR "/demo-data.txt")}) {
        SimulatorData data;
        QString error;
        ASSERT_TRUE(data.loadFile(file, &error)) << error.toStdString();
        ASSERT_NE(data.account(QStringLiteral("demo")), nullptr);
        EXPECT_EQ(data.account(QStringLiteral("demo"))->password, QStringLiteral("demo123"));
        EXPECT_EQ(
            data.account(QStringLiteral("demo"))->domains,
            QStringList({QStringLiteral("example.com"), QStringLiteral("example.net"), QStringLiteral("example.org")}));
        EXPECT_TRUE(data.domain(QStringLiteral("example.org"))->hosts.isEmpty());
        EXPECT_TRUE(data.account(QStringLiteral("nodomains"))->domains.isEmpty());
    }
    SimulatorData data;
    QString error;
    ASSERT_TRUE(data.loadFile(QStringLiteral(QUORVEX_TEST_DATA "/sim-test.txt"), &error));
    const SimulatorData::Account* odd = data.account(QStringLiteral("o&d=d#%+; \u00fc"));
    ASSERT_NE(odd, nullptr);
    EXPECT_EQ(odd->password, QStringLiteral("p&w=#%+; \u00e9"));
}

TEST(SimulatorData, Ipv4AddressesAreStrict)
{
    for (const char* good : {"0.0.0.0", "203.0.113.7", "255.255.255.255"}) {
        EXPECT_TRUE(SimulatorData::isIpv4Address(QString::fromLatin1(good))) << good;
    }
    for (const char* bad : {"", "1.2.3", "1.2.3.4.5", "256.1.1.1", "1.2.3.4 ", "a.b.c.d", "1..2.3", "0001.2.3.4"}) {
        EXPECT_FALSE(SimulatorData::isIpv4Address(QString::fromLatin1(bad))) << bad;
    }
}
