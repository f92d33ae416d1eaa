#pragma once

#include <vector>

#include "game/icon_picture.h"

namespace icons {

// The window's icon at size x size, row by row. Each pixel takes the colour of
// the source pixel under its centre, so no colour is made up: sizes that are
// whole multiples of 32 come out as exact blocks, the others as crisp samples.
std::vector<vantorix::Rgb> scaledIcon(int size);

}  // namespace icons
