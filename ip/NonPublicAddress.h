#pragma once

#include <QString>

// Addresses that cannot be the router's public one. A network sign-in page, a router's "no
// internet" page or a locator behind carrier-grade NAT prints such an address; sent to DNS, it
// would point the user's hosts nowhere reachable. The documentation ranges stay usable.
class NonPublicAddress
{
public:
    // For the log: what kind of address a dotted quad is ("a private address", "a loopback
    // address", ...), or empty when it may be public. Groups above 255 are no IPv4 address to
    // classify and stay usable, as the address search takes them.
    static QString kindOf(const QString& dottedQuad);
};
