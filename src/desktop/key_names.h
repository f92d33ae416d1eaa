#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantorix {

// Keys by the names players write in the settings ("space", "w", "kp5"), as
// the virtual-key codes the input layer gives them: letters by what the layout
// types ('A' to 'Z'), digits, space, return, escape and tab by their own codes,
// the arrows by theirs, any other key 0x100 plus its USB usage id. Names are
// read in any case. Nothing for a name that is no key.
std::optional<std::int16_t> keyNamed(std::string_view name);
// The name keyNamed() reads back as `code`, for the settings file.
std::string nameOfKey(std::int16_t code);

// Keys the window keeps for itself whatever the bindings: F11 (full screen),
// M (music) and P (pause). Alt+Return is the window's too, Return alone is not.
bool isWindowKey(std::int16_t code);

// The virtual-key codes of M and P, which the window takes.
constexpr std::int16_t kMusicKey = 'M';
constexpr std::int16_t kPauseKey = 'P';

}  // namespace vantorix
