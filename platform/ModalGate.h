#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QPointer>

#include <deque>
#include <functional>

class QTimer;

// While a message box is open nothing else of the program may run: Qt's modal loop would deliver
// timer ticks and page completions underneath it. The gate holds them and delivers them, in the
// order they fell due, once the last box has closed, unless the program was ended meanwhile.
class ModalGate : public QObject
{
    Q_OBJECT

public:
    // hasEnded tells whether the program was ended; held deliveries are then dropped.
    explicit ModalGate(std::function<bool()> hasEnded, QObject* parent = nullptr);
    ~ModalGate() override;
    ModalGate(const ModalGate&) = delete;
    ModalGate& operator=(const ModalGate&) = delete;

    void boxOpened();
    void boxClosed();
    bool isHolding() const { return m_openBoxes > 0; }

    // Runs delivery at once, or, while a box is open or earlier deliveries still wait, after them.
    void deliver(std::function<void()> delivery);
    // The timer's ticks that fall due while a box is open, or while held deliveries still wait,
    // wait behind them; several become one, as a tick missed twice is still one tick late. A held
    // tick of a timer stopped or restarted meanwhile is dropped: its own next tick comes in its time.
    void holdTicks(QTimer& timer);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // When the last tick held for a timer fell due, and how long the timer then had to its next.
    struct HeldTick
    {
        QElapsedTimer since;
        qint64 remainingMs = 0;
    };

    void scheduleRelease();
    void release();
    void deliverTick(const QObject* key, const QPointer<QTimer>& timer);

    std::function<bool()> m_hasEnded;
    int m_openBoxes = 0;
    bool m_releaseScheduled = false;
    std::deque<std::function<void()>> m_held;
    QHash<const QObject*, HeldTick> m_heldTicks;
    // The timer whose held tick is being delivered: its event passes the filter.
    const QObject* m_passing = nullptr;
};
