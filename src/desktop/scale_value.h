#pragma once

#include <optional>
#include <string_view>

namespace vantorix {

// Far beyond any screen, and well inside an int once multiplied by the field.
constexpr int kLargestScale = 64;

// A window scale written as text: a whole number from 1 to kLargestScale, nothing else.
std::optional<int> parseScale(std::string_view text);

}  // namespace vantorix
