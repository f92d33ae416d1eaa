#pragma once

#include <chrono>

#include "runtime/clock.h"

namespace vantorix {

// The real clock: monotonic time since start-up, and the local time of day.
class SystemClock : public Clock {
public:
    std::int64_t nowMs() override;
    std::int64_t timeOfDayMs() override;

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace vantorix
