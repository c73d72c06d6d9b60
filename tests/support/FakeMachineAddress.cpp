#include "FakeMachineAddress.h"

QString FakeMachineAddress::localAddress() const
{
    return m_address;
}

void FakeMachineAddress::setLocalAddress(const QString& address)
{
    m_address = address;
}
