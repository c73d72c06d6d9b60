#pragma once

#include "MachineAddress.h"

// A machine address set by the test; a documentation address (192.0.2.10) by default.
class FakeMachineAddress : public MachineAddress
{
public:
    QString localAddress() const override;
    void setLocalAddress(const QString& address);

private:
    QString m_address = QStringLiteral("192.0.2.10");
};
