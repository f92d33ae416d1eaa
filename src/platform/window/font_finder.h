#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace vantorix {

// The two font files the field is drawn with.
struct FontFiles {
    std::string text;    // a proportional sans for the texts and the shot
    std::string symbol;  // a font with the pictures of the figures
};

// Finds both through fontconfig, by family preference and by the characters each
// must have. On failure says which Debian package would provide what is missing.
// Opens fontconfig for the search and closes it after, so the search may run
// on a thread of its own.
std::optional<FontFiles> findFontFiles(std::string& whyNot);
// The same, answered from `cache` while what the last search rested on is
// unchanged, and kept there after a search.
std::optional<FontFiles> findFontFilesRemembered(const std::filesystem::path& cache, std::string& whyNot);

}  // namespace vantorix
