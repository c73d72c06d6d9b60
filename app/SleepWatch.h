#pragma once

#include <QObject>

// Waking from sleep, as logind announces it on the system bus: a laptop may wake in another
// network, with an address its old lease no longer holds. Where there is no system bus, or no
// logind, it never says anything.
class SleepWatch : public QObject
{
    Q_OBJECT

public:
    explicit SleepWatch(QObject* parent = nullptr);

signals:
    void woke();

private slots:
    // logind's PrepareForSleep: true before sleeping, false on waking.
    void onPrepareForSleep(bool goingToSleep);
};
