#pragma once

#include <cstdint>
#include <random>

namespace vantorix {

// The program's one random generator: uniform fractions in [0, 1), reseeded
// from the time of day so each game's pattern depends on when it starts.
class Random {
public:
    void reseed(std::int64_t seed);
    double next();

private:
    std::mt19937 engine_{0};
};

// Rounds to the nearest integer, halves to the even neighbour.
long roundHalfEven(double value);

}  // namespace vantorix
