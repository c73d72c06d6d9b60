#include "InterfaceMachineAddress.h"

#include <QNetworkInterface>
#include <QRegularExpression>

#include <gtest/gtest.h>

TEST(MachineAddressTest, IsAnIpv4OfAnInterfaceInUseElseTheLoopback)
{
    QStringList usable;
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& interface : interfaces) {
        const auto flags = interface.flags();
        if (flags.testFlag(QNetworkInterface::IsUp) && flags.testFlag(QNetworkInterface::IsRunning) &&
            !flags.testFlag(QNetworkInterface::IsLoopBack)) {
            const QList<QNetworkAddressEntry> entries = interface.addressEntries();
            for (const QNetworkAddressEntry& entry : entries) {
                if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol) {
                    usable << entry.ip().toString();
                }
            }
        }
    }

    const QString address = InterfaceMachineAddress().localAddress();
    static const QRegularExpression dottedQuad(QStringLiteral("^\\d{1,3}\\.\\d{1,3}\\.\\d{1,3}\\.\\d{1,3}$"));
    EXPECT_TRUE(dottedQuad.match(address).hasMatch()) << address.toStdString();
    EXPECT_EQ(address, usable.isEmpty() ? QStringLiteral("127.0.0.1") : usable.first());
}
