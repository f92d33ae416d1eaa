#include "platform/window/flash_colour.h"

#include <cmath>

namespace vantorix {

namespace {

// Keeps clear of the threshold, whatever the rounding to whole channel values.
constexpr double kLargestChange = 0.09;

double linear(std::uint8_t channel) {
    double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

Rgb towardsWhite(Rgb from, int step, int steps) {
    auto mix = [&](std::uint8_t c) { return static_cast<std::uint8_t>(c + (255 - c) * step / steps); };
    return Rgb{mix(from.r), mix(from.g), mix(from.b)};
}

}  // namespace

double relativeLuminance(Rgb colour) {
    return 0.2126 * linear(colour.r) + 0.7152 * linear(colour.g) + 0.0722 * linear(colour.b);
}

Rgb flashDrawnAs(Flash flash, Rgb back, Rgb usual) {
    if (flash == Flash::Full || back == usual) return back;
    if (flash == Flash::Off) return usual;
    constexpr int kSteps = 64;
    Rgb dim = usual;
    for (int step = 1; step <= kSteps; ++step) {
        Rgb lighter = towardsWhite(usual, step, kSteps);
        if (relativeLuminance(lighter) - relativeLuminance(usual) >= kLargestChange) break;
        dim = lighter;
    }
    return dim;
}

}  // namespace vantorix
