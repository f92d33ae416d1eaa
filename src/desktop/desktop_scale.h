#pragma once

namespace vantorix {

// The whole-number scale for a desktop's dots per inch: 96 is 1, 192 is 2.
int scaleForDpi(double dpi);

}  // namespace vantorix
