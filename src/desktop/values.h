#pragma once

#include <optional>
#include <string_view>

namespace vantorix {

// Far beyond any screen, and well inside an int once multiplied by the field.
constexpr int kLargestScale = 64;

// A window scale written as text: a whole number from 1 to kLargestScale, nothing else.
std::optional<int> parseScale(std::string_view text);

// A volume written as text: a whole number from 0 (silent) to 100 (the game's own mix).
std::optional<int> parseVolume(std::string_view text);

// How a High's white flash is drawn: as designed, as a gentle change of colour
// that stays under the general-flash threshold, or not at all.
enum class Flash { Full, Dim, Off };
std::optional<Flash> parseFlash(std::string_view text);
std::string_view flashName(Flash flash);

}  // namespace vantorix
