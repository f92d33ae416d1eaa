#pragma once

#include <string_view>

namespace vantorix {

// The whole-number scale for a desktop's dots per inch: 96 is 1, 192 is 2.
int scaleForDpi(double dpi);

// The scale an X resource database string asks for through "Xft.dpi"; 1 without one.
int scaleFromXResources(std::string_view resources);

}  // namespace vantorix
