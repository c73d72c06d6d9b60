#include "ModalGate.h"

#include <QCoreApplication>
#include <QTimer>
#include <QTimerEvent>

#include <utility>

ModalGate::ModalGate(std::function<bool()> hasEnded, QObject* parent) : QObject(parent), m_hasEnded(std::move(hasEnded))
{}

ModalGate::~ModalGate() = default;

void ModalGate::boxOpened()
{
    ++m_openBoxes;
}

void ModalGate::boxClosed()
{
    if (m_openBoxes > 0 && --m_openBoxes == 0 && !m_held.empty()) {
        // Later, not now: the code that opened the box finishes first (it may end the program).
        scheduleRelease();
    }
}

void ModalGate::deliver(std::function<void()> delivery)
{
    if (!isHolding() && m_held.empty()) {
        delivery();
        return;
    }
    m_held.push_back(std::move(delivery));
    if (!isHolding()) {
        scheduleRelease();
    }
}

void ModalGate::holdTicks(QTimer& timer)
{
    timer.installEventFilter(this);
}

bool ModalGate::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Timer) {
        return false;
    }
    if (watched == m_passing) {
        // The held tick itself; a box its handlers open holds the timer's later ticks again.
        m_passing = nullptr;
        return false;
    }
    if (!isHolding() && m_held.empty()) {
        return false;
    }
    auto* timer = qobject_cast<QTimer*>(watched);
    if (timer == nullptr || static_cast<QTimerEvent*>(event)->timerId() != timer->timerId()) {
        return false;
    }
    const bool queued = m_heldTicks.contains(timer);
    HeldTick& held = m_heldTicks[timer];
    held.since.start();
    held.remainingMs = timer->remainingTime();
    if (!queued) {
        deliver([this, key = static_cast<const QObject*>(timer), guard = QPointer<QTimer>(timer)] {
            deliverTick(key, guard);
        });
    }
    return true;
}

void ModalGate::deliverTick(const QObject* key, const QPointer<QTimer>& timer)
{
    // A restart re-arms the timer afresh, so its time to the next tick no longer follows from the
    // moment the held one fell due. (Its id cannot tell: a restarted timer gets the same id back.)
    constexpr qint64 slackMs = 100;
    const HeldTick held = m_heldTicks.take(key);
    if (!timer || !timer->isActive()) {
        return;
    }
    const qint64 remaining = timer->remainingTime();
    const qint64 expected = held.remainingMs - held.since.elapsed();
    // Restarted, or its own next tick is due now: that one comes instead, never two back to back.
    if (qAbs(remaining - expected) > slackMs || remaining <= slackMs) {
        return;
    }
    m_passing = timer.data();
    QTimerEvent tick(timer->timerId());
    QCoreApplication::sendEvent(timer.data(), &tick);
}

void ModalGate::scheduleRelease()
{
    if (m_releaseScheduled) {
        return;
    }
    m_releaseScheduled = true;
    QTimer::singleShot(0, this, [this] { release(); });
}

void ModalGate::release()
{
    m_releaseScheduled = false;
    // A delivery may open a box of its own: the rest waits for that one in turn.
    while (!isHolding() && !m_held.empty() && !m_hasEnded()) {
        std::function<void()> delivery = std::move(m_held.front());
        m_held.pop_front();
        delivery();
    }
    if (m_hasEnded()) {
        m_held.clear();
        m_heldTicks.clear();
    }
}
