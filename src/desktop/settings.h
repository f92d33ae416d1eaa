#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vantorix {

// The window as the player last left it.
struct WindowSettings {
    std::optional<int> scale;  // whole field pixels per field unit, in a window
    bool fullscreen = false;

    bool operator==(const WindowSettings&) const = default;
};

// Where the settings live: $XDG_CONFIG_HOME/vantorix/settings, or under
// ~/.config when that is unset or not an absolute path. Empty when there is
// no home to put them in.
std::filesystem::path settingsFile(const char* xdgConfigHome, const char* home);
// The same for this process's environment.
std::filesystem::path settingsFile();

// The settings in a file's text, or nothing and why when it is no text at all.
// Blank lines and lines starting with '#' are comments. Each line not
// understood (an unknown key, a bad value) is passed over and named in
// `whyNot`, a line each, at most five and then how many more.
std::optional<WindowSettings> parseSettings(std::string_view text, std::string& whyNot);
std::string formatSettings(const WindowSettings& settings);

struct SettingsRead {
    WindowSettings settings;
    std::string warning;  // for stderr, a line each: why the file or some of its lines were passed over
};
// A missing file is no warning: it is the first run.
SettingsRead readSettings(const std::filesystem::path& file);

// Replaces the file as a whole: a new file is written beside it and renamed over
// it, so a crash or a full disk leaves the old one intact. Creates the folder.
bool writeSettings(const std::filesystem::path& file, const WindowSettings& settings,
                   std::string& whyNot);

}  // namespace vantorix
