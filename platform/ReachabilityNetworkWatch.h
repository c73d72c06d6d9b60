#pragma once

#include "NetworkWatch.h"

// The network as Qt's network information backend of the system sees it (where there is no
// netlink): a change of reachability is a change.
class ReachabilityNetworkWatch : public NetworkWatch
{
    Q_OBJECT

public:
    explicit ReachabilityNetworkWatch(QObject* parent = nullptr);

    // False when no backend loads; the watch then never reports a change.
    bool isWatching() const { return m_watching; }
    bool isOnline() const override;

private:
    bool m_watching = false;
};
