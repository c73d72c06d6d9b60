#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

// What the service manager hears from the program, through libsystemd: that it is ready, a
// one-line status for `systemctl status`, and watchdog pings from the event loop, at half the
// period the manager asks for, so that a hung loop gets the program restarted. Run by hand
// (no NOTIFY_SOCKET), nothing is sent.
class ServiceManagerLink : public QObject
{
    Q_OBJECT

public:
    explicit ServiceManagerLink(QObject* parent = nullptr);

    void ready();
    void status(const QString& text);

    const QTimer& watchdog() const { return m_watchdog; }

private:
    QTimer m_watchdog;
};
