#pragma once

#include <QString>

// The machine's own IPv4 address as the local network layer reports it.
class MachineAddress
{
public:
    virtual ~MachineAddress();

    // A dotted quad; never empty.
    virtual QString localAddress() const = 0;
};
