#include "runtime/random.h"

#include <cmath>

namespace vantorix {

void Random::reseed(std::int64_t seed) { engine_.seed(static_cast<std::uint32_t>(seed)); }

double Random::next() {
    // 24 random bits: fine enough for lanes and columns, and never reaches 1.
    return static_cast<double>(engine_() >> 8) / 16777216.0;
}

long roundHalfEven(double value) {
    // The default rounding mode, to nearest, takes halves to the even neighbour.
    return static_cast<long>(std::nearbyint(value));
}

}  // namespace vantorix
