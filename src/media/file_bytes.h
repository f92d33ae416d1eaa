#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantorix {

// Whether `path` names a regular file, or a link to one.
bool isFile(const std::string& path);

// Reads a whole regular file of at most `maxBytes`; anything else (missing, a
// folder, too big, unreadable) gives nothing and a reason.
std::optional<std::vector<std::uint8_t>> readFileCapped(const std::string& path,
                                                        std::size_t maxBytes,
                                                        std::string& whyNot);
// The same, telling with `tooLarge` a file refused for its size alone.
std::optional<std::vector<std::uint8_t>> readFileCapped(const std::string& path,
                                                        std::size_t maxBytes,
                                                        std::string& whyNot, bool& tooLarge);

}  // namespace vantorix
