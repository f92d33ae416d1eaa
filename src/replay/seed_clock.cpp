#include "replay/seed_clock.h"

namespace vantorix {

std::int64_t SeedClock::timeOfDayMs() {
    std::int64_t reading;
    if (fed_.empty()) {
        reading = inner_.timeOfDayMs();
    } else {
        reading = fed_.front();
        fed_.pop_front();
    }
    if (onReading) onReading(reading);
    return reading;
}

}  // namespace vantorix
