#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantorix {

// Reads a whole regular file of at most `maxBytes`; anything else (missing, a
// folder, too big, unreadable) gives nothing and a reason.
std::optional<std::vector<std::uint8_t>> readFileCapped(const std::string& path,
                                                        std::size_t maxBytes,
                                                        std::string& whyNot);

}  // namespace vantorix
