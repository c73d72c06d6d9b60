#include "NetworkChangeUpdate.h"

#include "AddressText.h"
#include "Clock.h"
#include "EventLog.h"
#include "MachineAddress.h"
#include "MainForm.h"
#include "NetworkWatch.h"
#include "RouterAddressLookup.h"
#include "SettingsModel.h"
#include "UpdateScheduler.h"

#include <algorithm>

NetworkChangeUpdate::NetworkChangeUpdate(const Parts& parts, QObject* parent)
    : QObject(parent), m_parts(parts), m_timer(this)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &NetworkChangeUpdate::wake);
    connect(&m_parts.watch, &NetworkWatch::changed, this, &NetworkChangeUpdate::onChange);
    connect(&m_parts.lookup, &RouterAddressLookup::ended, this, [this] {
        if (m_lookingUp) {
            lookupEnded();
        }
    });
}

void NetworkChangeUpdate::setActive(bool active)
{
    m_active = active;
    if (active) {
        schedule();
    } else {
        m_timer.stop();
    }
}

void NetworkChangeUpdate::onChange()
{
    const QDateTime now = m_parts.clock.now();
    if (!m_pending) {
        m_burstStart = now;
    }
    m_pending = true;
    m_lastChange = now;
    schedule();
}

QDateTime NetworkChangeUpdate::due() const
{
    // A link that never stops changing still settles once a spacing has passed.
    QDateTime settled =
        std::min(m_lastChange.addMSecs(settleTime.count()), m_burstStart.addMSecs(lookupSpacing.count()));
    if (m_lastLookup.isValid()) {
        settled = std::max(settled, m_lastLookup.addMSecs(lookupSpacing.count()));
    }
    return settled;
}

void NetworkChangeUpdate::schedule()
{
    if (!m_pending || !m_active || m_lookingUp) {
        return;
    }
    m_timer.start(static_cast<int>(std::max<qint64>(0, m_parts.clock.now().msecsTo(due()))));
}

void NetworkChangeUpdate::wake()
{
    if (!m_pending || !m_active || m_lookingUp) {
        return;
    }
    if (m_parts.clock.now() < due()) {
        schedule();
        return;
    }
    m_pending = false;
    // With no route there is nowhere to look; the change that brings it back comes next.
    if (m_parts.watch.isOnline()) {
        startLookup();
    }
}

void NetworkChangeUpdate::startLookup()
{
    m_lookingUp = true;
    m_lastLookup = m_parts.clock.now();
    m_parts.log.appendMessage(QStringLiteral("The network changed; looking up the address."));
    m_parts.form.setMachineText(m_parts.machine.localAddress());
    // The locators are asked only for the address that goes out: a failed router lookup would
    // otherwise report a network failure over an update that went well.
    if (m_parts.form.routerAddressSelected()) {
        m_parts.lookup.GetRemoteIP();
    } else {
        lookupEnded();
    }
}

void NetworkChangeUpdate::lookupEnded()
{
    m_lookingUp = false;
    const QString address =
        m_parts.form.routerAddressSelected() ? m_parts.form.remoteText() : m_parts.form.machineText();
    if (!AddressText::ExtractIP(address).isEmpty() && address != m_parts.model.LastIP) {
        m_parts.scheduler.updateOutOfTurn();
    }
    schedule();
}
