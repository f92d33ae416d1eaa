#include "desktop/settings.h"

#include <cerrno>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <memory>
#include <vector>

#include "desktop/key_names.h"
#include "desktop/user_files.h"
#include "desktop/values.h"

namespace vantorix {

namespace {

// A hand-edited file is a few lines; anything this large is not ours.
constexpr std::uintmax_t kLargestFile = 64 * 1024;

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view blanks = " \t\r";
    auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::optional<bool> yesOrNo(std::string_view value) {
    if (value == "yes" || value == "true" || value == "1") return true;
    if (value == "no" || value == "false" || value == "0") return false;
    return std::nullopt;
}

std::string systemError() { return std::strerror(errno); }

// At most this many lines about one file: a wrong file must not flood the terminal.
constexpr int kMostComplaints = 5;
// What of a line a complaint shows.
constexpr std::size_t kLongestQuote = 80;

// Valid UTF-8 with no control characters but tabs and line ends: what a person
// writes in an editor. Anything else is some other file.
bool isText(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            if ((byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') || byte == 0x7F) return false;
            ++i;
            continue;
        }
        int length = byte >= 0xF0 && byte <= 0xF4 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC2 && byte < 0xE0 ? 2 : 0;
        if (length == 0 || i + length > text.size()) return false;
        char32_t code = byte & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and code points past Unicode's last.
        if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
            (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

// Part of a line fit for the terminal: cut short, anything unprintable escaped.
std::string shown(std::string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size() && i < kLongestQuote; ++i) {
        auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte == 0x7F) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        } else {
            out += text[i];
        }
    }
    if (text.size() > kLongestQuote) out += "...";
    return out + "\"";
}

}  // namespace

std::filesystem::path settingsFile(const char* xdgConfigHome, const char* home) {
    auto base = xdgFolder(xdgConfigHome, home, ".config");
    return base.empty() ? base : base / "vantorix" / "settings";
}

std::filesystem::path settingsFile() {
    return settingsFile(std::getenv("XDG_CONFIG_HOME"), homeFolder().c_str());
}

std::int16_t gameKey(Action action) { return KeyBindings{}[action]; }

std::string_view actionName(Action action) {
    constexpr std::array<std::string_view, 4> names{"fire", "high", "up", "down"};
    return names[static_cast<std::size_t>(action)];
}

namespace {

// One line's key and value applied to `settings`; why not, when it cannot be.
std::string apply(Settings& settings, std::array<int, 4>& boundOn, int lineNumber, std::string_view key,
                  std::string_view value) {
    auto yesNo = [&](bool& to) -> std::string {
        auto parsed = yesOrNo(value);
        if (!parsed) return std::string(key) + " must be yes or no, not " + shown(value);
        to = *parsed;
        return {};
    };
    auto volume = [&](int& to) -> std::string {
        auto parsed = parseVolume(value);
        if (!parsed) return std::string(key) + " must be a whole number from 0 to 100, not " + shown(value);
        to = *parsed;
        return {};
    };
    if (key == "scale") {
        auto scale = parseScale(value);
        if (!scale)
            return "scale must be a whole number from 1 to " + std::to_string(kLargestScale) + ", not " +
                   shown(value);
        settings.window.scale = scale;
        return {};
    }
    if (key == "fullscreen") return yesNo(settings.window.fullscreen);
    if (key == "music") return yesNo(settings.musicOn);
    if (key == "pause-on-focus-loss") return yesNo(settings.pauseOnFocusLoss);
    if (key == "music-volume") return volume(settings.musicVolume);
    if (key == "effects-volume") return volume(settings.effectsVolume);
    if (key == "flash") {
        auto flash = parseFlash(value);
        if (!flash) return "flash must be full, dim or off, not " + shown(value);
        settings.flash = *flash;
        return {};
    }
    for (Action action : kActions) {
        if (key != actionName(action)) continue;
        auto code = keyNamed(value);
        if (!code) return "no key is called " + shown(value);
        if (isWindowKey(*code)) return shown(value) + " belongs to the window";
        settings.keys[action] = *code;
        boundOn[static_cast<std::size_t>(action)] = lineNumber;
        return {};
    }
    return "no setting is called " + shown(key);
}

// Two actions on one key: the one bound later keeps its default instead, until
// no key sends two actions.
void settleBindings(KeyBindings& keys, std::array<int, 4>& boundOn,
                    std::vector<std::pair<int, std::string>>& complaints) {
    for (bool clash = true; clash;) {
        clash = false;
        for (Action a : kActions)
            for (Action b : kActions) {
                auto ia = static_cast<std::size_t>(a), ib = static_cast<std::size_t>(b);
                if (a == b || keys[a] != keys[b] || boundOn[ia] < boundOn[ib]) continue;
                if (boundOn[ia] == 0) continue;
                complaints.emplace_back(boundOn[ia], shown(nameOfKey(keys[a])) + " already sends " +
                                                         std::string(actionName(b)));
                keys[a] = gameKey(a);
                boundOn[ia] = 0;
                clash = true;
            }
    }
}

}  // namespace

std::optional<Settings> parseSettings(std::string_view text, std::string& whyNot) {
    if (!isText(text)) {
        whyNot = "not a text file";
        return std::nullopt;
    }
    // An editor's byte-order mark is no part of the first line.
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    Settings settings;
    std::vector<std::pair<int, std::string>> complaints;
    std::array<int, 4> boundOn{};  // the line that bound each action, 0 for none
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        auto end = text.find('\n');
        std::string_view line = trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == '#') continue;
        auto equals = line.find('=');
        std::string_view key = trimmed(line.substr(0, equals));
        std::string_view value = equals == std::string_view::npos ? "" : trimmed(line.substr(equals + 1));
        std::string complaint = equals == std::string_view::npos || key.empty()
                                    ? "is not \"key = value\": " + shown(line)
                                    : apply(settings, boundOn, lineNumber, key, value);
        if (!complaint.empty()) complaints.emplace_back(lineNumber, complaint);
    }
    settleBindings(settings.keys, boundOn, complaints);
    std::ranges::stable_sort(complaints, {}, &std::pair<int, std::string>::first);
    whyNot.clear();
    for (std::size_t i = 0; i < complaints.size() && i < kMostComplaints; ++i)
        whyNot += (i ? "\n" : "") + ("line " + std::to_string(complaints[i].first) + ": " + complaints[i].second);
    if (complaints.size() > kMostComplaints)
        whyNot += "\n" + std::to_string(complaints.size() - kMostComplaints) + " more lines not understood";
    return settings;
}

std::string formatSettings(const Settings& settings) {
    auto yes = [](bool on) { return on ? "yes" : "no"; };
    std::string text =
        "# Vantorix keeps what you set and how you left the window here.\n"
        "# scale: field pixels per pixel of the original, a whole number from 1 to 64.\n"
        "# fullscreen, music (M turns it off and on), pause-on-focus-loss: yes or no.\n"
        "# music-volume, effects-volume: 0 to 100. flash (a High's): full, dim or off.\n"
        "# fire, high, up, down: the key for each, by name: a letter, a digit, space,\n"
        "# return, tab, left, up, right, down, f1, kp0, lshift, ... (F11, M and P are\n"
        "# the window's).\n";
    if (settings.window.scale) text += "scale = " + std::to_string(*settings.window.scale) + "\n";
    text += std::string("fullscreen = ") + yes(settings.window.fullscreen) + "\n";
    text += std::string("music = ") + yes(settings.musicOn) + "\n";
    text += "music-volume = " + std::to_string(settings.musicVolume) + "\n";
    text += "effects-volume = " + std::to_string(settings.effectsVolume) + "\n";
    text += "flash = " + std::string(flashName(settings.flash)) + "\n";
    text += std::string("pause-on-focus-loss = ") + yes(settings.pauseOnFocusLoss) + "\n";
    for (Action action : kActions)
        text += std::string(actionName(action)) + " = " + nameOfKey(settings.keys[action]) + "\n";
    return text;
}

SettingsRead readSettings(const std::filesystem::path& file) {
    SettingsRead read;
    if (file.empty()) return read;
    std::error_code error;
    auto status = std::filesystem::status(file, error);
    if (status.type() == std::filesystem::file_type::not_found) return read;
    auto unusable = [&](const std::string& why) {
        read.warning = "ignoring the settings in " + file.string() + ": " + why;
        return read;
    };
    if (error) return unusable(error.message());
    if (!std::filesystem::is_regular_file(status)) return unusable("not a regular file");
    if (std::filesystem::file_size(file, error) > kLargestFile) return unusable("far too large");
    // C's streams: C++'s would set up the locale machinery for a few lines.
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(file.c_str(), "rb"), std::fclose);
    if (!in) return unusable(systemError());
    std::string text;
    char block[4096];
    for (std::size_t n; (n = std::fread(block, 1, sizeof block, in.get())) > 0;) text.append(block, n);
    if (std::ferror(in.get())) return unusable("cannot be read");
    std::string why;
    auto parsed = parseSettings(text, why);
    if (!parsed) return unusable(why);
    read.settings = *parsed;
    // Each line not understood is named; the rest of the file still counts.
    for (std::size_t start = 0; start < why.size();) {
        auto end = std::min(why.find('\n', start), why.size());
        read.warning += std::string(start ? "\n" : "") + "ignoring the settings in " + file.string() + ", " +
                        why.substr(start, end - start);
        start = end + 1;
    }
    return read;
}

bool writeSettings(const std::filesystem::path& file, const Settings& settings,
                   std::string& whyNot) {
    std::string why;
    if (writeFileAtomically(file, formatSettings(settings), why)) return true;
    whyNot = "cannot save the settings in " + file.string() + ": " + why;
    return false;
}

}  // namespace vantorix
