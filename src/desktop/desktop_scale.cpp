#include "desktop/desktop_scale.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace vantorix {

namespace {
// Far beyond any screen: a bad resource must not make a window the size of a wall.
constexpr int kLargestScale = 8;
}  // namespace

int scaleForDpi(double dpi) {
    if (!(dpi > 0)) return 1;
    return std::clamp(static_cast<int>(std::lround(dpi / 96.0)), 1, kLargestScale);
}

int scaleFromXResources(std::string_view resources) {
    while (!resources.empty()) {
        auto end = resources.find('\n');
        std::string_view line = resources.substr(0, end);
        resources.remove_prefix(end == std::string_view::npos ? resources.size() : end + 1);
        auto colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        std::string_view name = line.substr(0, colon);
        while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.remove_suffix(1);
        if (name != "Xft.dpi") continue;
        std::string value(line.substr(colon + 1));
        char* parsed = nullptr;
        double dpi = std::strtod(value.c_str(), &parsed);
        if (parsed == value.c_str()) return 1;
        return scaleForDpi(dpi);
    }
    return 1;
}

}  // namespace vantorix
