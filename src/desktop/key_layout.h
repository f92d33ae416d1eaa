#pragma once

#include <cstdint>
#include <optional>

namespace vantorix {

// The letter key a key press stands for, as a virtual-key code 'A' to 'Z'.
// `typed` is the character the active layout gives the key (0 for none) and
// `usLetter` the letter printed on that key on a US keyboard ('A' to 'Z', or 0
// off the letter block). Letters follow the layout where it types Latin ones,
// so AZERTY's and QWERTZ's Z is their own; a key that types a letter of another
// script (Cyrillic, Greek, Hebrew, Arabic...) or nothing goes by its place.
// Nothing for every other key.
std::optional<std::int16_t> letterKey(char32_t typed, char usLetter);

}  // namespace vantorix
