#pragma once

#include <cstdint>

#include "game/form_vtx.h"

namespace vantorix::soak {

// What a sensible player would press now: toward the lane of the nearest live
// enemy, Z once lined up with it or between games, nothing otherwise.
std::int16_t helpfulKey(const FormVTX& game);

}  // namespace vantorix::soak
