#include "RetryPolicy.h"

#include "EventLog.h"

#include <algorithm>
#include <utility>

RetryPolicy::RetryPolicy(EventLog& log, QString what, std::function<void()> retry, QObject* parent)
    : QObject(parent), m_log(log), m_what(std::move(what)), m_retry(std::move(retry))
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(retryPeriod);
    connect(&m_timer, &QTimer::timeout, this, [this] { m_retry(); });
}

void RetryPolicy::failed(const QString& why, std::chrono::milliseconds atLeast)
{
    emit failedWith(m_what + QStringLiteral(" failed (") + why + u')');
    if (!m_failing) {
        m_failing = true;
        m_log.appendMessage(m_what + QStringLiteral(" failed (") + why +
                                QStringLiteral("); trying again every minute."),
                            EventLog::Level::Warning);
    }
    m_timer.start(std::max(retryPeriod, atLeast));
}

void RetryPolicy::answered()
{
    m_timer.stop();
    if (m_failing) {
        m_failing = false;
        m_log.appendMessage(m_what + QStringLiteral(" answered again."));
    }
}
