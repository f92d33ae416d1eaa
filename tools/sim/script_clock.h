#pragma once

#include <algorithm>

#include "runtime/clock.h"

namespace vantorix::sim {

// Time that moves only when the simulation moves it, starting at a chosen time of day.
class ScriptClock : public Clock {
public:
    explicit ScriptClock(std::int64_t startTimeOfDayMs) : startOfDay_(startTimeOfDayMs) {}

    std::int64_t nowMs() override { return now_; }
    std::int64_t timeOfDayMs() override { return (startOfDay_ + now_) % kDayMs; }
    void advanceTo(std::int64_t ms) { now_ = std::max(now_, ms); }
    void advanceBy(std::int64_t ms) { now_ += std::max<std::int64_t>(0, ms); }

    static constexpr std::int64_t kDayMs = 24 * 60 * 60 * 1000;

private:
    std::int64_t startOfDay_;
    std::int64_t now_ = 0;
};

}  // namespace vantorix::sim
