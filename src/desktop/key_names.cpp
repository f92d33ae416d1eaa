#include "desktop/key_names.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace vantorix {

namespace {

// Keys that type no letter go by their USB usage id, the scan code the input
// layer passes on for them.
constexpr std::int16_t usb(int usage) { return static_cast<std::int16_t>(0x100 + usage); }

constexpr auto kNamed = std::to_array<std::pair<std::string_view, std::int16_t>>({
    {"space", ' '},         {"return", '\r'},       {"escape", 27},         {"tab", '\t'},
    {"left", 37},           {"up", 38},             {"right", 39},          {"down", 40},
    {"backspace", usb(42)}, {"minus", usb(45)},     {"equals", usb(46)},    {"leftbracket", usb(47)},
    {"rightbracket", usb(48)}, {"backslash", usb(49)}, {"semicolon", usb(51)}, {"apostrophe", usb(52)},
    {"grave", usb(53)},     {"comma", usb(54)},     {"period", usb(55)},    {"slash", usb(56)},
    {"f1", usb(58)},        {"f2", usb(59)},        {"f3", usb(60)},        {"f4", usb(61)},
    {"f5", usb(62)},        {"f6", usb(63)},        {"f7", usb(64)},        {"f8", usb(65)},
    {"f9", usb(66)},        {"f10", usb(67)},       {"f11", usb(68)},       {"f12", usb(69)},
    {"insert", usb(73)},    {"home", usb(74)},      {"pageup", usb(75)},    {"delete", usb(76)},
    {"end", usb(77)},       {"pagedown", usb(78)},  {"kpdivide", usb(84)},  {"kpmultiply", usb(85)},
    {"kpminus", usb(86)},   {"kpplus", usb(87)},    {"kpenter", usb(88)},   {"kp1", usb(89)},
    {"kp2", usb(90)},       {"kp3", usb(91)},       {"kp4", usb(92)},       {"kp5", usb(93)},
    {"kp6", usb(94)},       {"kp7", usb(95)},       {"kp8", usb(96)},       {"kp9", usb(97)},
    {"kp0", usb(98)},       {"kpperiod", usb(99)},  {"lctrl", usb(224)},    {"lshift", usb(225)},
    {"lalt", usb(226)},     {"rctrl", usb(228)},    {"rshift", usb(229)},   {"ralt", usb(230)},
});

}  // namespace

std::optional<std::int16_t> keyNamed(std::string_view name) {
    std::string lower(name);
    std::ranges::transform(lower, lower.begin(), [](unsigned char c) { return std::tolower(c); });
    if (lower.size() == 1 && std::isalnum(static_cast<unsigned char>(lower[0])))
        return static_cast<std::int16_t>(std::toupper(static_cast<unsigned char>(lower[0])));
    if (lower == "enter") lower = "return";
    auto found = std::ranges::find(kNamed, lower, &std::pair<std::string_view, std::int16_t>::first);
    if (found == kNamed.end()) return std::nullopt;
    return found->second;
}

std::string nameOfKey(std::int16_t code) {
    if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9'))
        return std::string(1, static_cast<char>(std::tolower(code)));
    auto found = std::ranges::find(kNamed, code, &std::pair<std::string_view, std::int16_t>::second);
    return found == kNamed.end() ? std::string() : std::string(found->first);
}

bool isWindowKey(std::int16_t code) {
    return code == kMusicKey || code == kPauseKey || code == usb(68);
}

}  // namespace vantorix
