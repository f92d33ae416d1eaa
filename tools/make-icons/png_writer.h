#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "runtime/color.h"

namespace icons {

// Writes a size x size picture, row by row, as an 8-bit RGB PNG. Returns false
// and a reason when the file cannot be written.
bool writePng(const std::filesystem::path& file, int size, const std::vector<vantorix::Rgb>& pixels,
              std::string& whyNot);

}  // namespace icons
