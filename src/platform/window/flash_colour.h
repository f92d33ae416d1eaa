#pragma once

#include "desktop/values.h"
#include "runtime/color.h"

namespace vantorix {

// The colour a High's flash is drawn in when the field's back colour is
// `back`, the game's white, and `usual` is the colour it had before. Full: the
// white itself. Off: the usual colour. Dim: the usual colour lightened towards
// white only as far as keeps the change of relative luminance under the 10 %
// of a general flash (WCAG 2.3.1), so it is seen without flashing.
Rgb flashDrawnAs(Flash flash, Rgb back, Rgb usual);

// WCAG's relative luminance of an sRGB colour, 0 (black) to 1 (white).
double relativeLuminance(Rgb colour);

}  // namespace vantorix
