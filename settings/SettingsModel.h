#pragma once

#include <QString>

#include <optional>

// The main window's shared state. The start-up code, the scheduler, the exchanges and the version
// check read and write these directly; they start empty or zero with each new main window, and a
// reload of the settings files overwrites only what it reads.
class SettingsModel
{
public:
    QString GatewayURL;
    QString ConfigPath;      // the application directory, ending with the separator
    QString LastUpdate;      // date of the last version check, short date form
    qint16 Interval = 0;     // minutes until the next update
    qint16 PingInterval = 0; // minutes until the next keep-alive ping
    QString Version;         // latest version as recorded in the update file
    QString LastIP;          // address recorded when the last update answer arrived
    qint16 Force = 0;        // 1: the next update request is sent even if the address is unchanged
    qint16 StartUp = 0;      // 1: the first listing after a credential check is pending
    bool AskedNewVersion = false;
    qint16 TakeTurn = 0;      // scheduler phase: 1 while waiting for a fresh address
    qint16 MinuteCounter = 0; // ticks since the scheduler's last lookup phase

    // Hours × 60 + minutes rounded half to even, if the total fits 16 bits.
    static std::optional<qint16> intervalMinutes(double hours, double minutes);

    // The next-update label: 90 minutes read "1 Hours 30 Minutes".
    static QString nextUpdateText(int minutes);
};
