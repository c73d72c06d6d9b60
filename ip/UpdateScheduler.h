#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>
#include <optional>

class MainForm;
class SettingsModel;

// The one-minute countdown to the next update. When an update falls due it works in two phases,
// a tick apart: first the addresses are looked up afresh, then, a shorter wait later, the update
// is made and the countdown starts again from the interval in the Settings tab's boxes.
class UpdateScheduler : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds minutePeriod{60000};
    // Time for the lookup to deliver an address before the update reads it.
    static constexpr std::chrono::milliseconds lookupWait{24000};

    // lookupPhase refreshes the router and machine addresses; updateIP runs the update exchange.
    UpdateScheduler(SettingsModel& model, MainForm& form, std::function<void()> lookupPhase,
                    std::function<void()> updateIP, QObject* parent = nullptr);

    // Starts tmrUpdate unless it runs already: a running countdown is left where it is. The first
    // start takes Interval, just loaded from the settings, as the interval in force until an
    // update phase reads the boxes.
    void switchOn();
    // One tick of tmrUpdate.
    void tick();
    // cmdForceUpdate: sends at once, even an unchanged address; the countdown is not touched.
    void ForceUpdate();
    // An update now, outside the cycle, sent only when the address changed; the countdown is
    // not touched.
    void updateOutOfTurn();

    const QTimer& timer() const { return m_tmrUpdate; }
    QTimer& timer() { return m_tmrUpdate; }

private:
    void lookupPhase();
    void updatePhase();
    // The boxes' interval in minutes; nothing when either box holds no number or the total
    // does not fit 16 bits.
    std::optional<qint16> intervalFromBoxes() const;

    SettingsModel& m_model;
    MainForm& m_form;
    std::function<void()> m_lookupPhase;
    std::function<void()> m_updateIP;
    QTimer m_tmrUpdate;
    // The full interval last put in force, kept for an update phase that finds the boxes unreadable.
    std::optional<qint16> m_intervalInForce;
};
