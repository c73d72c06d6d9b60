#pragma once

#include <QObject>

#include <memory>

// Tells when the machine's network changed: its links, its IPv4 addresses or its default route.
// This base knows nothing of the system: it reports only what it is told (a signal, waking from
// sleep), and counts the network as up; the watches of the system derive from it.
class NetworkWatch : public QObject
{
    Q_OBJECT

public:
    explicit NetworkWatch(QObject* parent = nullptr);
    ~NetworkWatch() override;

    // The best watch this system offers: netlink on Linux, else Qt's network information where
    // a backend loads, else this base, which only reports what it is told.
    static std::unique_ptr<NetworkWatch> forThisMachine();

    // Whether an IPv4 default route is there, so that a lookup has somewhere to go. True when
    // it cannot be told.
    virtual bool isOnline() const;

    // Something outside the watch knows of a change (a hook's signal, waking from sleep).
    void reportChange() { emit changed(); }

signals:
    // Each change as it comes, unsettled: one change of the network often comes as several.
    void changed();
};
