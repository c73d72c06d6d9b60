#pragma once

#include <QHash>
#include <QString>
#include <QStringView>

#include <optional>

// Faults to inject, by exact request path. A fault lasts a given number of requests or
// until it is cleared.
class FaultPlan
{
public:
    enum class Kind {
        None,
        Drop,
        Hang,
        Status500,
        Status500Empty,
        Status500Html,
        Status404Footer,
        Status429,
        Portal,
        Empty,
        Garbage,
        Huge,
        Slow,
        Reset
    };

    static constexpr int DefaultDelayMs = 200;
    static constexpr int DefaultRetryAfterS = 120;

    struct Fault
    {
        Kind kind = Kind::None;
        int delayMs = DefaultDelayMs;         // between two bytes of a slow answer
        int retryAfterS = DefaultRetryAfterS; // the Retry-After of a 429 answer
    };

    static constexpr int Unlimited = -1;

    // "none", "drop", "hang", "500", "500-empty", "500-html", "404-footer", "429", "portal", "empty",
    // "garbage", "huge", "slow", "reset".
    static std::optional<Kind> kindFromName(QStringView name);

    // times: how many of the next requests of path get the fault, or Unlimited.
    // Kind::None clears the path.
    void set(const QString& path, Kind kind, int times = Unlimited, int delayMs = DefaultDelayMs,
             int retryAfterS = DefaultRetryAfterS);
    // The fault for one request of path (Kind::None when there is none); counts the use.
    Fault take(const QString& path);
    // The fault for path without counting a use.
    Fault peek(const QString& path) const;

private:
    struct Entry
    {
        Fault fault;
        int remaining = Unlimited;
    };

    QHash<QString, Entry> m_entries;
};
