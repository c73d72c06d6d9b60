#pragma once

#include <QByteArray>
#include <QDateTime>

#include <chrono>
#include <optional>

// When a server that is rate-limiting (429) or down for a while (503) may be asked again: its
// Retry-After header, in seconds or as an HTTP date, at most an hour ahead, so that a wrong
// clock or a careless header cannot stop the updates for days.
class RetryAfter
{
public:
    static constexpr std::chrono::seconds longest{3600};

    // The time to wait until; nothing when the header asks for no wait or cannot be read.
    static std::optional<QDateTime> until(const QByteArray& header, const QDateTime& now);
    // Whether a status's Retry-After speaks of the next request at all.
    static bool appliesTo(int status);
};
