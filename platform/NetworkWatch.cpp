#include "NetworkWatch.h"

#include "ReachabilityNetworkWatch.h"

#ifdef Q_OS_LINUX
#include "NetlinkNetworkWatch.h"
#endif

NetworkWatch::NetworkWatch(QObject* parent) : QObject(parent) {}

NetworkWatch::~NetworkWatch() = default;

std::unique_ptr<NetworkWatch> NetworkWatch::forThisMachine()
{
#ifdef Q_OS_LINUX
    if (auto netlink = std::make_unique<NetlinkNetworkWatch>(); netlink->isWatching()) {
        return netlink;
    }
#endif
    if (auto reachability = std::make_unique<ReachabilityNetworkWatch>(); reachability->isWatching()) {
        return reachability;
    }
    return std::make_unique<NetworkWatch>();
}

bool NetworkWatch::isOnline() const
{
    return true;
}
