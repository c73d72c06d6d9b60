#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <functional>

class EventLog;

// A request the headless program cannot go on without (the validation, the first forced update,
// the version page): while it fails it is sent again every minute, for as long as it takes, and
// the fault is logged once when it starts and once when it clears, so an outage of days does not
// fill the journal.
class RetryPolicy : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds retryPeriod{60000};

    // what names the request in the two log lines; retry sends it again.
    RetryPolicy(EventLog& log, QString what, std::function<void()> retry, QObject* parent = nullptr);

    // The request got no usable answer: why says what happened instead. It is sent again in a
    // minute, or later when the server asked for a longer wait.
    void failed(const QString& why, std::chrono::milliseconds atLeast = {});
    // The request was answered: no more retries.
    void answered();

    bool isFailing() const { return m_failing; }
    QTimer& timer() { return m_timer; }

signals:
    // Each failure, as "<what> failed (<why>)".
    void failedWith(const QString& line);

private:
    EventLog& m_log;
    QString m_what;
    std::function<void()> m_retry;
    QTimer m_timer;
    bool m_failing = false;
};
