#pragma once

#include "MachineAddress.h"

// The first IPv4 address of an interface that is up, running and not the loopback; the loopback
// address when the machine has none.
class InterfaceMachineAddress : public MachineAddress
{
public:
    QString localAddress() const override;
};
