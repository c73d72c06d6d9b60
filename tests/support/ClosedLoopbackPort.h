#pragma once

#include <QtGlobal>

// A loopback port nobody listens on, so that a connection to it is refused.
class ClosedLoopbackPort
{
public:
    // A port that was free a moment ago; 0 when none could be found.
    static quint16 pick();
};
