#pragma once

#include "NetworkWatch.h"

#include <QHash>

class QSocketNotifier;
struct nlmsghdr;

// Linux: the kernel's own announcements of links, IPv4 addresses and IPv4 routes, read from an
// rtnetlink socket on the event loop as they come. A link counts only when it goes up or down:
// a wireless card announces its scans as link messages too.
class NetlinkNetworkWatch : public NetworkWatch
{
    Q_OBJECT

public:
    explicit NetlinkNetworkWatch(QObject* parent = nullptr);
    ~NetlinkNetworkWatch() override;
    NetlinkNetworkWatch(const NetlinkNetworkWatch&) = delete;
    NetlinkNetworkWatch& operator=(const NetlinkNetworkWatch&) = delete;

    // False when the socket could not be opened (a sandbox without netlink).
    bool isWatching() const { return m_notifier != nullptr; }
    // An IPv4 default route, as the kernel's routing table shows it.
    bool isOnline() const override;

private:
    void readMessages();
    // Whether one message tells of a change; a link message updates what is known of its link.
    bool tellsOfChange(nlmsghdr* message);

    int m_socket = -1;
    QSocketNotifier* m_notifier = nullptr;
    // The up and running flags last seen of each link, by its index.
    QHash<int, unsigned> m_linkFlags;
};
