#pragma once

#include <functional>

// Runs the event loop while a test waits for something the program does on it.
class EventLoopWait
{
public:
    // Until condition holds or milliseconds have passed; whether it came to hold.
    static bool until(const std::function<bool()>& condition, int milliseconds);
    // For milliseconds, whatever happens.
    static void runFor(int milliseconds);
};
