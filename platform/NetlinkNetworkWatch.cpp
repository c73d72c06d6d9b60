#include "NetlinkNetworkWatch.h"

#include <QFile>
#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <linux/if.h>
#include <net/route.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr unsigned linkStateFlags = IFF_UP | IFF_RUNNING | IFF_LOWER_UP;

} // namespace

NetlinkNetworkWatch::NetlinkNetworkWatch(QObject* parent) : NetworkWatch(parent)
{
    m_socket = ::socket(AF_NETLINK, SOCK_RAW | SOCK_NONBLOCK | SOCK_CLOEXEC, NETLINK_ROUTE);
    if (m_socket < 0) {
        return;
    }
    sockaddr_nl address = {};
    address.nl_family = AF_NETLINK;
    address.nl_groups = RTMGRP_LINK | RTMGRP_IPV4_IFADDR | RTMGRP_IPV4_ROUTE;
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): the socket API's own cast
    if (::bind(m_socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(m_socket);
        m_socket = -1;
        return;
    }
    m_notifier = new QSocketNotifier(m_socket, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &NetlinkNetworkWatch::readMessages);
}

NetlinkNetworkWatch::~NetlinkNetworkWatch()
{
    delete m_notifier;
    if (m_socket >= 0) {
        ::close(m_socket);
    }
}

void NetlinkNetworkWatch::readMessages()
{
    alignas(nlmsghdr) std::array<char, 16384> buffer{};
    bool change = false;
    // Everything waiting is read at once: a burst is one wake-up and, at most, one signal.
    for (;;) {
        const ssize_t received = ::recv(m_socket, buffer.data(), buffer.size(), 0);
        if (received < 0) {
            // Messages lost to a full socket buffer were changes all the same.
            change = change || errno == ENOBUFS;
            if (errno == EINTR || errno == ENOBUFS) {
                continue;
            }
            break;
        }
        auto remaining = static_cast<unsigned>(received);
        // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): netlink's own layout
        for (auto* header = reinterpret_cast<nlmsghdr*>(buffer.data()); NLMSG_OK(header, remaining);
             header = NLMSG_NEXT(header, remaining)) {
            change = tellsOfChange(header) || change;
        }
    }
    if (change) {
        emit changed();
    }
}

bool NetlinkNetworkWatch::tellsOfChange(nlmsghdr* message)
{
    const unsigned type = message->nlmsg_type;
    switch (type) {
    case RTM_NEWADDR:
    case RTM_DELADDR:
    case RTM_NEWROUTE:
    case RTM_DELROUTE:
        return true;
    case RTM_DELLINK:
    case RTM_NEWLINK: {
        if (message->nlmsg_len < NLMSG_LENGTH(sizeof(ifinfomsg))) {
            return false;
        }
        // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): netlink's own layout
        const auto* link = reinterpret_cast<const ifinfomsg*>(NLMSG_DATA(message));
        if (type == RTM_DELLINK) {
            m_linkFlags.remove(link->ifi_index);
            return true;
        }
        const unsigned flags = link->ifi_flags & linkStateFlags;
        const auto known = m_linkFlags.constFind(link->ifi_index);
        const bool changedState = known == m_linkFlags.constEnd() || *known != flags;
        m_linkFlags.insert(link->ifi_index, flags);
        return changedState;
    }
    default:
        return false;
    }
}

bool NetlinkNetworkWatch::isOnline() const
{
    QFile routes(QStringLiteral("/proc/net/route"));
    if (!routes.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return true;
    }
    // Columns: interface, destination, gateway, flags, ..., mask; numbers in hexadecimal.
    routes.readLine();
    while (!routes.atEnd()) {
        const QList<QByteArray> fields = routes.readLine().simplified().split(' ');
        if (fields.size() < 8) {
            continue;
        }
        bool flagsRead = false;
        const uint flags = fields.at(3).toUInt(&flagsRead, 16);
        if (fields.at(1) == "00000000" && fields.at(7) == "00000000" && flagsRead && (flags & RTF_UP) != 0) {
            return true;
        }
    }
    return false;
}
