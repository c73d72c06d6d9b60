#pragma once

#include "NetworkWatch.h"

// A network watch the test drives: reportChange() is a change, `online` says whether a route is there.
class FakeNetworkWatch : public NetworkWatch
{
public:
    bool isOnline() const override { return online; }

    bool online = true;
};
