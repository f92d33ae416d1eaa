#include "runtime/font_desc.h"

#include <cmath>

namespace vantorix {

int FontDesc::pixelSize() const {
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

}  // namespace vantorix
