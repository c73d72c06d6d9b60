#include "ModalGate.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <QTimerEvent>

#include <utility>

ModalGate::ModalGate(std::function<bool()> hasEnded, QObject* parent)
    : QObject(parent), m_hasEnded(std::move(hasEnded))
{
}

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
    if (event->type() != QEvent::Timer || !isHolding()) {
        return false;
    }
    auto* timer = qobject_cast<QTimer*>(watched);
    if (timer == nullptr || static_cast<QTimerEvent*>(event)->timerId() != timer->timerId()) {
        return false;
    }
    if (!m_heldTicks.contains(timer)) {
        m_heldTicks.insert(timer);
        const QPointer<QTimer> guard(timer);
        deliver([this, timer, guard] {
            m_heldTicks.remove(timer);
            // A timer stopped or gone meanwhile has no tick to give.
            if (guard && guard->isActive()) {
                QTimerEvent tick(guard->timerId());
                QCoreApplication::sendEvent(guard.data(), &tick);
            }
        });
    }
    return true;
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
