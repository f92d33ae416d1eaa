#include "desktop/settings.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <memory>

#include "desktop/scale_value.h"

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

// Writes all of `text` to `fd`, however many calls that takes.
bool writeAll(int fd, std::string_view text) {
    while (!text.empty()) {
        ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

std::filesystem::path settingsFile(const char* xdgConfigHome, const char* home) {
    std::filesystem::path base;
    if (xdgConfigHome && *xdgConfigHome == '/') {
        base = xdgConfigHome;
    } else if (home && *home == '/') {
        base = std::filesystem::path(home) / ".config";
    } else {
        return {};
    }
    return base / "vantorix" / "settings";
}

std::filesystem::path settingsFile() {
    const char* home = std::getenv("HOME");
    if (!home || *home != '/') {
        const passwd* user = getpwuid(getuid());
        home = user ? user->pw_dir : nullptr;
    }
    return settingsFile(std::getenv("XDG_CONFIG_HOME"), home);
}

std::optional<WindowSettings> parseSettings(std::string_view text, std::string& whyNot) {
    WindowSettings settings;
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
        bool understood = equals != std::string_view::npos && !key.empty();
        if (understood && key == "scale") {
            settings.scale = parseScale(value);
            understood = settings.scale.has_value();
        } else if (understood && key == "fullscreen") {
            auto fullscreen = yesOrNo(value);
            understood = fullscreen.has_value();
            settings.fullscreen = fullscreen.value_or(false);
        }
        if (!understood) {
            whyNot = "line " + std::to_string(lineNumber) + " is not understood: \"" +
                     std::string(line) + "\"";
            return std::nullopt;
        }
    }
    return settings;
}

std::string formatSettings(const WindowSettings& settings) {
    std::string text =
        "# Vantorix keeps the window as you last left it here.\n"
        "# scale: field pixels per pixel of the original, a whole number from 1 up.\n"
        "# fullscreen: yes or no.\n";
    if (settings.scale) text += "scale = " + std::to_string(*settings.scale) + "\n";
    text += std::string("fullscreen = ") + (settings.fullscreen ? "yes" : "no") + "\n";
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
    return read;
}

bool writeSettings(const std::filesystem::path& file, const WindowSettings& settings,
                   std::string& whyNot) {
    auto failed = [&](const std::string& why) {
        whyNot = "cannot save the settings in " + file.string() + ": " + why;
        return false;
    };
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    if (error) return failed(error.message());
    std::string temporary = file.string() + ".XXXXXX";
    int fd = mkstemp(temporary.data());
    if (fd < 0) return failed(systemError());
    // Everything reaches the disk before the rename makes it the settings.
    bool written = writeAll(fd, formatSettings(settings)) && fsync(fd) == 0;
    std::string why = systemError();
    if (::close(fd) != 0 && written) {
        written = false;
        why = systemError();
    }
    if (written && std::rename(temporary.c_str(), file.c_str()) == 0) return true;
    if (written) why = systemError();
    ::unlink(temporary.c_str());
    return failed(why);
}

}  // namespace vantorix
