#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "desktop/values.h"
#include "runtime/key_codes.h"

namespace vantorix {

// The window as the player last left it.
struct WindowSettings {
    std::optional<int> scale;  // whole field pixels per field unit, in a window
    bool fullscreen = false;

    bool operator==(const WindowSettings&) const = default;
};

// The game's four keys, and which physical key sends each: a virtual-key code
// as keyNamed() gives it. The game itself always sees Z, X, Up and Down.
enum class Action { Fire, High, Up, Down };
inline constexpr std::array kActions = {Action::Fire, Action::High, Action::Up, Action::Down};
struct KeyBindings {
    std::array<std::int16_t, 4> keys{vbKeyZ, vbKeyX, vbKeyUp, vbKeyDown};

    std::int16_t& operator[](Action action) { return keys[static_cast<std::size_t>(action)]; }
    std::int16_t operator[](Action action) const { return keys[static_cast<std::size_t>(action)]; }
    bool operator==(const KeyBindings&) const = default;
};
// The key code the game knows for each action.
std::int16_t gameKey(Action action);
// The settings file's name for each action: fire, high, up, down.
std::string_view actionName(Action action);

// Everything the player may set and the game remembers.
struct Settings {
    WindowSettings window;
    int musicVolume = 100;    // 0 to 100; 100 is the game's own mix
    int effectsVolume = 100;  // the same for the sound effects
    bool musicOn = true;      // M turns the music off and on
    Flash flash = Flash::Full;
    bool pauseOnFocusLoss = true;
    KeyBindings keys;

    bool operator==(const Settings&) const = default;
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
// A key bound twice, or to one of the window's own keys, keeps its action's
// default and is named too.
std::optional<Settings> parseSettings(std::string_view text, std::string& whyNot);
std::string formatSettings(const Settings& settings);

struct SettingsRead {
    Settings settings;
    std::string warning;  // for stderr, a line each: why the file or some of its lines were passed over
};
// A missing file is no warning: it is the first run.
SettingsRead readSettings(const std::filesystem::path& file);

// Replaces the file as a whole: a new file is written beside it and renamed over
// it, so a crash or a full disk leaves the old one intact. Creates the folder.
bool writeSettings(const std::filesystem::path& file, const Settings& settings,
                   std::string& whyNot);

}  // namespace vantorix
