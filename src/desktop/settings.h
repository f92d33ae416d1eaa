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

// The settings in a file's text, or nothing and why. Blank lines and lines
// starting with '#' are comments; keys nobody knows yet are skipped, so an
// older game reads a newer file.
std::optional<WindowSettings> parseSettings(std::string_view text, std::string& whyNot);
std::string formatSettings(const WindowSettings& settings);

struct SettingsRead {
    WindowSettings settings;
    std::string warning;  // one line for stderr when the file could not be used
};
// A missing file is no warning: it is the first run.
SettingsRead readSettings(const std::filesystem::path& file);

// Replaces the file as a whole: a new file is written beside it and renamed over
// it, so a crash or a full disk leaves the old one intact. Creates the folder.
bool writeSettings(const std::filesystem::path& file, const WindowSettings& settings,
                   std::string& whyNot);

}  // namespace vantorix
