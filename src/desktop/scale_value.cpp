#include "desktop/scale_value.h"

#include <charconv>

namespace vantorix {

std::optional<int> parseScale(std::string_view text) {
    int value = 0;
    auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (status != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (value < 1 || value > kLargestScale) return std::nullopt;
    return value;
}

}  // namespace vantorix
