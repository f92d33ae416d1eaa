#include "desktop/desktop_scale.h"

#include <algorithm>
#include <cmath>

namespace vantorix {

namespace {
// Far beyond any screen: a bad resource must not make a window the size of a wall.
constexpr int kLargestScale = 8;
}  // namespace

int scaleForDpi(double dpi) {
    if (!(dpi > 0)) return 1;
    return std::clamp(static_cast<int>(std::lround(dpi / 96.0)), 1, kLargestScale);
}

}  // namespace vantorix
