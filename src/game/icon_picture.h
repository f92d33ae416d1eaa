#pragma once

#include <array>
#include <cstdint>

#include "runtime/color.h"

namespace vantorix {

// The window's 32 x 32 icon in the standard 16-colour palette.
constexpr int kIconSize = 32;
// Each pixel's colour, row by row.
std::array<Rgb, kIconSize * kIconSize> iconPixels();

}  // namespace vantorix
