#pragma once

#include <string>

namespace vantorix {

// The pictures the symbol font draws for the letters the game uses, as Unicode
// text for fonts that have them at their standard code points. Other letters
// pass through unchanged.
std::string symbolText(const std::string& letters);

}  // namespace vantorix
