#include "desktop/values.h"

#include <charconv>

namespace vantorix {

namespace {

std::optional<int> wholeNumber(std::string_view text, int least, int most) {
    int value = 0;
    auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (status != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (value < least || value > most) return std::nullopt;
    return value;
}

}  // namespace

std::optional<int> parseScale(std::string_view text) { return wholeNumber(text, 1, kLargestScale); }

std::optional<int> parseVolume(std::string_view text) { return wholeNumber(text, 0, 100); }

std::optional<Flash> parseFlash(std::string_view text) {
    for (Flash flash : {Flash::Full, Flash::Dim, Flash::Off})
        if (text == flashName(flash)) return flash;
    return std::nullopt;
}

std::string_view flashName(Flash flash) {
    switch (flash) {
        case Flash::Dim: return "dim";
        case Flash::Off: return "off";
        case Flash::Full: break;
    }
    return "full";
}

}  // namespace vantorix
