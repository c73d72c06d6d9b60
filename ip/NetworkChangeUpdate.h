#pragma once

#include <QDateTime>
#include <QObject>
#include <QTimer>

#include <chrono>

class Clock;
class EventLog;
class MachineAddress;
class MainForm;
class NetworkWatch;
class RouterAddressLookup;
class SettingsModel;
class UpdateScheduler;

// Follows the address as the network changes: a settled change of the network starts a lookup
// of the address the settings select at once, and an update follows the moment the lookup ends,
// when the address differs from the one last sent. The scheduled cycle runs on untouched.
//
// A burst of changes is one change once it has been quiet for a second; lookups come at most
// one per ten seconds, so a flapping link cannot flood the locators; a change during a lookup
// makes one more lookup after it; a change while there is no route waits for the one that
// brings the route back. Changes that come while it is not active wait until it is.
class NetworkChangeUpdate : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds settleTime{1000};
    static constexpr std::chrono::milliseconds lookupSpacing{10000};

    struct Parts
    {
        NetworkWatch& watch;
        RouterAddressLookup& lookup;
        UpdateScheduler& scheduler;
        const SettingsModel& model;
        MainForm& form;
        const MachineAddress& machine;
        EventLog& log;
        const Clock& clock;
    };

    explicit NetworkChangeUpdate(const Parts& parts, QObject* parent = nullptr);

    // Active once the start's forced update has been answered: before, that update carries the
    // address anyway.
    void setActive(bool active);
    // The timer's tick: the change has settled, or the spacing has passed.
    void wake();

    const QTimer& timer() const { return m_timer; }

private:
    void onChange();
    // When the change waiting may start its lookup.
    QDateTime due() const;
    void schedule();
    void startLookup();
    void lookupEnded();

    Parts m_parts;
    QTimer m_timer;
    bool m_active = false;
    bool m_pending = false;
    bool m_lookingUp = false;
    QDateTime m_burstStart;
    QDateTime m_lastChange;
    QDateTime m_lastLookup;
};
