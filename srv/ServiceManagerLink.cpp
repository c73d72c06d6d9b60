#include "ServiceManagerLink.h"

#include <systemd/sd-daemon.h>

#include <algorithm>
#include <cstdint>

ServiceManagerLink::ServiceManagerLink(QObject* parent) : QObject(parent)
{
    std::uint64_t microseconds = 0;
    if (sd_watchdog_enabled(0, &microseconds) > 0 && microseconds > 0) {
        m_watchdog.setInterval(static_cast<int>(std::clamp<std::uint64_t>(microseconds / 2000, 1, 3600000)));
        connect(&m_watchdog, &QTimer::timeout, this, [] { sd_notify(0, "WATCHDOG=1"); });
        m_watchdog.start();
    }
}

void ServiceManagerLink::ready()
{
    sd_notify(0, "READY=1");
}

void ServiceManagerLink::status(const QString& text)
{
    // One line: the manager shows the first.
    const QByteArray line = "STATUS=" + QString(text).replace(u'\n', u' ').toUtf8();
    sd_notify(0, line.constData());
}
