#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class Clock;
class EventLog;
class PageRequester;
class SettingsModel;

// Loads a page of the keep-alive site every few minutes so that a connection that drops when idle
// stays up. The countdown lives in PingInterval; the period is read afresh from the ping box at
// each ping, so an edited but unapplied period sets the wait that follows the next ping.
class KeepAlivePing : public QObject
{
    Q_OBJECT

public:
    static QString logEntry(); // " - PING Connection Keep-Alive"

    // site is "host[:port][/path]"; pingText gives the ping box's current text.
    KeepAlivePing(PageRequester& wb_keepalive, SettingsModel& model, EventLog& log, const Clock& clock,
                  const QString& site, std::function<QString()> pingText, QObject* parent = nullptr);

    // One tick of tmrPing, once a minute.
    void tick();

    // The period a ping falls back on when the ping box does not read as a 16-bit number; empty
    // until the countdown has been seen positive or a period has been read.
    std::optional<qint16> period() const { return m_period; }

private:
    void ping();

    PageRequester& m_wb_keepalive;
    SettingsModel& m_model;
    EventLog& m_log;
    const Clock& m_clock;
    QString m_site;
    std::function<QString()> m_pingText;
    std::optional<qint16> m_period;
};
