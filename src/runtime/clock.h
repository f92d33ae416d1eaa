#pragma once

#include <cstdint>

namespace vantorix {

// The program's sense of time: a monotonic millisecond count for the timers,
// and the time of day for reseeding the random numbers.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t nowMs() = 0;
    // Milliseconds since local midnight.
    virtual std::int64_t timeOfDayMs() = 0;
};

}  // namespace vantorix
