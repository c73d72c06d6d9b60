#pragma once

#include <QObject>
#include <QString>

class QSocketNotifier;

// SIGTERM, SIGINT, SIGHUP and SIGUSR1 as Qt signals on the event loop: the handlers only write the
// signal's number into a socket pair, whose other end a notifier reads, so nothing runs inside
// a signal handler that is not safe there. One instance per process.
class SignalPipe : public QObject
{
    Q_OBJECT

public:
    explicit SignalPipe(QObject* parent = nullptr);
    ~SignalPipe() override;
    SignalPipe(const SignalPipe&) = delete;
    SignalPipe& operator=(const SignalPipe&) = delete;

    // False when the socket pair or a handler could not be set up.
    bool isValid() const { return m_notifier != nullptr; }

signals:
    // SIGTERM or SIGINT, named.
    void stopRequested(const QString& signalName);
    void reloadRequested();
    // SIGUSR1: a hook of the network's (a dispatcher script, ip-up, a DHCP client) tells of a change.
    void networkChangeReported();

private:
    void readSignals();

    QSocketNotifier* m_notifier = nullptr;
};
