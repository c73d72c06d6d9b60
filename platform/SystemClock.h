#pragma once

#include "Clock.h"

// The machine's local time in the user's locale.
class SystemClock : public Clock
{
public:
    QDateTime now() const override;
};
