#include "KeepAlivePing.h"

#include "Clock.h"
#include "EventLog.h"
#include "NumberText.h"
#include "PageRequester.h"
#include "ServiceUrls.h"
#include "SettingsModel.h"

#include <limits>
#include <utility>

QString KeepAlivePing::logEntry()
{
    return QStringLiteral(" - PING Connection Keep-Alive");
}

KeepAlivePing::KeepAlivePing(PageRequester& wb_keepalive, SettingsModel& model, EventLog& log, const Clock& clock,
                             const QString& site, std::function<QString()> pingText, QObject* parent)
    : QObject(parent), m_wb_keepalive(wb_keepalive), m_model(model), m_log(log), m_clock(clock), m_site(site),
      m_pingText(std::move(pingText))
{
    Q_ASSERT(m_pingText);
}

void KeepAlivePing::tick()
{
    const qint16 old = m_model.PingInterval;
    // The first positive countdown is the period just loaded from the settings: the fallback for a
    // ping box that cannot be read before one has been read.
    if (!m_period && old > 0) {
        m_period = old;
    }
    // With no period the countdown runs below 0 for as long as the timer runs; it stops at the
    // 16-bit floor instead of wrapping round to a positive count that would ping again.
    if (old != std::numeric_limits<qint16>::min()) {
        m_model.PingInterval = static_cast<qint16>(old - 1);
    }
    if (old == 1) {
        ping();
    }
}

void KeepAlivePing::ping()
{
    m_log.appendEntry(logEntry());
    const auto number = NumberText::parse(m_pingText());
    const auto minutes = number ? NumberText::toInt16(*number) : std::nullopt;
    if (minutes) {
        m_period = *minutes;
    }
    // An unreadable box keeps the pings going at the period last in force rather than stopping them.
    m_model.PingInterval = m_period.value_or(0);
    // The time only makes each request differ from the one before, so no cache answers it.
    m_wb_keepalive.Navigate(m_site + u'?' + ServiceUrls::encodeQueryValue(m_clock.TimeText()));
}
