#pragma once

#include <cstdint>

namespace vantorix {

// Virtual-key codes of the keys the game reads.
constexpr std::int16_t vbKeyLeft = 37;
constexpr std::int16_t vbKeyUp = 38;
constexpr std::int16_t vbKeyRight = 39;
constexpr std::int16_t vbKeyDown = 40;
constexpr std::int16_t vbKeyX = 88;
constexpr std::int16_t vbKeyZ = 90;

}  // namespace vantorix
