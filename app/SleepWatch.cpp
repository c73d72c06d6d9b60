#include "SleepWatch.h"

#include <QDBusConnection>

SleepWatch::SleepWatch(QObject* parent) : QObject(parent)
{
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        return;
    }
    bus.connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
                SLOT(onPrepareForSleep(bool)));
}

void SleepWatch::onPrepareForSleep(bool goingToSleep)
{
    if (!goingToSleep) {
        emit woke();
    }
}
