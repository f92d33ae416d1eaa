#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window/font_finder.h"

namespace vantorix {

// Which fonts the last search found, kept between runs: asking fontconfig
// reads its whole configuration and costs a start-up as much CPU as the rest
// of it. The answer holds while every folder and file fontconfig read for it
// keeps its modification time, as fontconfig's own caches do, and both fonts
// can still be read.

// The cache's text for `found`, with the times of `watched` as they are now.
std::string fontCacheText(const FontFiles& found, const std::vector<std::string>& watched);
// The fonts in a cache's text, if it is whole and still holds.
std::optional<FontFiles> fontsFromCache(std::string_view text);

// $XDG_CACHE_HOME/vantorix/fonts, or ~/.cache/...; empty without a home.
std::filesystem::path fontCacheFile();

}  // namespace vantorix
