#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "runtime/clock.h"

namespace vantorix {

// The clock the game reads its random seed from. Recording, it tells each
// reading; replaying, it gives back the recorded ones in order, then its own.
class SeedClock : public Clock {
public:
    explicit SeedClock(Clock& inner) : inner_(inner) {}

    std::int64_t nowMs() override { return inner_.nowMs(); }
    std::int64_t timeOfDayMs() override;

    void feed(const std::vector<std::int64_t>& readings) { fed_.assign(readings.begin(), readings.end()); }
    std::function<void(std::int64_t)> onReading;

private:
    Clock& inner_;
    std::deque<std::int64_t> fed_;
};

}  // namespace vantorix
