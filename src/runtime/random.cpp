#include "runtime/random.h"

#include <cmath>

namespace vantorix {

void Random::reseed(std::int64_t seed) { engine_.seed(static_cast<std::uint32_t>(seed)); }

double Random::next() {
    // 24 random bits: fine enough for lanes and columns, and never reaches 1.
    return static_cast<double>(engine_() >> 8) / 16777216.0;
}

long roundHalfEven(double value) {
    double floor = std::floor(value);
    double diff = value - floor;
    if (diff > 0.5) return static_cast<long>(floor) + 1;
    if (diff < 0.5) return static_cast<long>(floor);
    return std::fmod(floor, 2.0) == 0.0 ? static_cast<long>(floor) : static_cast<long>(floor) + 1;
}

}  // namespace vantorix
