#include "InterfaceMachineAddress.h"

#include <QHostAddress>
#include <QNetworkInterface>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

bool belongsToAnUsableInterface(const QString& address)
{
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& interface : interfaces) {
        const auto flags = interface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) || !flags.testFlag(QNetworkInterface::IsRunning) ||
            flags.testFlag(QNetworkInterface::IsLoopBack)) {
            continue;
        }
        const QList<QNetworkAddressEntry> entries = interface.addressEntries();
        for (const QNetworkAddressEntry& entry : entries) {
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol && entry.ip().toString() == address) {
                return true;
            }
        }
    }
    return false;
}

bool anyUsableIpv4()
{
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& interface : interfaces) {
        const auto flags = interface.flags();
        if (flags.testFlag(QNetworkInterface::IsUp) && flags.testFlag(QNetworkInterface::IsRunning) &&
            !flags.testFlag(QNetworkInterface::IsLoopBack)) {
            const QList<QNetworkAddressEntry> entries = interface.addressEntries();
            for (const QNetworkAddressEntry& entry : entries) {
                if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol) {
                    return true;
                }
            }
        }
    }
    return false;
}

} // namespace

TEST(MachineAddressTest, IsADottedQuadOfAnUsableInterfaceOrTheLoopback)
{
    const QString address = InterfaceMachineAddress().localAddress();
    static const QRegularExpression dottedQuad(QStringLiteral("^\\d{1,3}\\.\\d{1,3}\\.\\d{1,3}\\.\\d{1,3}$"));
    ASSERT_TRUE(dottedQuad.match(address).hasMatch()) << address.toStdString();
    if (anyUsableIpv4()) {
        EXPECT_TRUE(belongsToAnUsableInterface(address)) << address.toStdString();
    } else {
        EXPECT_EQ(address, QStringLiteral("127.0.0.1"));
    }
}
