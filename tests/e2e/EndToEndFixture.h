#pragma once

#include "QuorvexProcess.h"
#include "support/SimulatorProcess.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <functional>
#include <string>

// quorvex-sim on the service port compiled into quorvex, and the program in its own directory.
// Tests see the program only from outside: the requests the simulator received, its records,
// and the files in the application directory.
class EndToEndFixture : public ::testing::Test
{
protected:
    EndToEndFixture();

    void SetUp() override;
    void TearDown() override;

    // "127.0.0.1:<the build's service port>"
    static QString serviceHost();
    // Polls the condition, running the event loop between polls.
    static bool waitFor(const std::function<bool()>& condition, int milliseconds);

    // Settings files as a finished wizard and a first version check leave them, but with the
    // version check switched off, so that the start goes straight to the credential check: the
    // interval in minutes, the router address from the simulator's four locator pages, no
    // keep-alive ping, the gateway of the simulator.
    void seedFiles(int intervalMinutes, const QByteArray& account);
    static QByteArray seededUpdateFile();

    // The simulator's request log, "GET <raw target>" a line; and the lines for one path.
    QStringList requests();
    QStringList requestsTo(const QString& path);
    QStringList gatewayRequests() { return requestsTo(QStringLiteral("/dyn/update")); }
    // host -> "address<TAB>time" (time "never" when the host was never updated).
    QMap<QString, QString> records();

    // The request log and the program's output, to explain a failure.
    std::string context();

    SimulatorProcess sim;
    QuorvexProcess quorvex;
};
