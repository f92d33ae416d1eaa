#include "platform/window/font_cache.h"

#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cstdint>
#include <cstdlib>

#include "desktop/user_files.h"

namespace vantorix {

namespace {

constexpr std::string_view kFirstLine = "vantorix font cache 1";

// Nanoseconds since the epoch of the last change; -1 for a path that is not there.
std::int64_t changedAt(const std::string& path) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0) return -1;
    return static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
}

// Splits off the text up to the first tab.
std::string_view field(std::string_view& line) {
    auto tab = line.find('\t');
    std::string_view first = line.substr(0, tab);
    line.remove_prefix(tab == std::string_view::npos ? line.size() : tab + 1);
    return first;
}

}  // namespace

std::string fontCacheText(const FontFiles& found, const std::vector<std::string>& watched) {
    std::string text = std::string(kFirstLine) + "\ntext\t" + found.text + "\nsymbol\t" + found.symbol + "\n";
    for (const std::string& path : watched) {
        // A name that would break the line is left unwatched by being left
        // out, and the whole cache with it.
        if (path.find('\n') != std::string::npos) return {};
        text += "watch\t" + std::to_string(changedAt(path)) + "\t" + path + "\n";
    }
    return text;
}

std::optional<FontFiles> fontsFromCache(std::string_view text) {
    FontFiles found;
    bool first = true;
    while (!text.empty()) {
        auto end = text.find('\n');
        if (end == std::string_view::npos) return std::nullopt;  // cut short
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        if (first) {
            if (line != kFirstLine) return std::nullopt;
            first = false;
            continue;
        }
        std::string_view kind = field(line);
        if (kind == "text") {
            found.text = line;
        } else if (kind == "symbol") {
            found.symbol = line;
        } else if (kind == "watch") {
            std::string_view at = field(line);
            std::int64_t when = 0;
            auto [past, error] = std::from_chars(at.data(), at.data() + at.size(), when);
            if (error != std::errc() || past != at.data() + at.size()) return std::nullopt;
            if (changedAt(std::string(line)) != when) return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    if (first || found.text.empty() || found.symbol.empty()) return std::nullopt;
    if (access(found.text.c_str(), R_OK) != 0 || access(found.symbol.c_str(), R_OK) != 0) return std::nullopt;
    return found;
}

std::filesystem::path fontCacheFile() {
    auto base = xdgFolder(std::getenv("XDG_CACHE_HOME"), homeFolder().c_str(), ".cache");
    return base.empty() ? base : base / "vantorix" / "fonts";
}

}  // namespace vantorix
