#pragma once

#include <cstdint>

namespace vantorix {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The form's RGB() helper: arguments as the designer wrote them.
constexpr Rgb RGB(int r, int g, int b) {
    return Rgb{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b)};
}

}  // namespace vantorix
