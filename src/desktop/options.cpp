#include "desktop/options.h"

#include <array>

#include "desktop/scale_value.h"

namespace vantorix {

namespace {

enum class Name { Help, Version, Fullscreen, Window, Scale, Mute, SoundFont };

struct LongOption {
    std::string_view text;
    Name name;
    bool takesValue;
};

constexpr std::array kLongOptions{
    LongOption{"help", Name::Help, false},         LongOption{"version", Name::Version, false},
    LongOption{"fullscreen", Name::Fullscreen, false}, LongOption{"window", Name::Window, false},
    LongOption{"scale", Name::Scale, true},        LongOption{"mute", Name::Mute, false},
    LongOption{"soundfont", Name::SoundFont, true},
};

std::string quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

// The option `typed` names: itself, or the only one it begins.
const LongOption* findLongOption(std::string_view typed, std::string& error) {
    const LongOption* found = nullptr;
    int matches = 0;
    for (const LongOption& option : kLongOptions) {
        if (option.text == typed) return &option;
        if (option.text.starts_with(typed)) {
            found = &option;
            ++matches;
        }
    }
    if (matches == 1) return found;
    error = (matches == 0 ? "unrecognized option " : "ambiguous option ") + quoted("--" + std::string(typed));
    return nullptr;
}

bool apply(Options& options, Name name, std::string_view value, std::string& error) {
    switch (name) {
        case Name::Help: options.help = true; break;
        case Name::Version: options.version = true; break;
        case Name::Fullscreen: options.fullscreen = true; break;
        case Name::Window: options.fullscreen = false; break;
        case Name::Mute: options.mute = true; break;
        case Name::SoundFont:
            if (value.empty()) {
                error = "option '--soundfont' needs a file name";
                return false;
            }
            options.soundFont = std::string(value);
            break;
        case Name::Scale:
            options.scale = parseScale(value);
            if (!options.scale) {
                error = "invalid scale " + quoted(value) + ": a whole number from 1 to " +
                        std::to_string(kLargestScale) + " is needed";
                return false;
            }
            break;
    }
    return true;
}

}  // namespace

ParsedOptions parseOptions(std::span<const char* const> arguments) {
    ParsedOptions parsed;
    std::string& error = parsed.error;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view argument = arguments[i];
        if (argument == "--") {
            if (i + 1 < arguments.size()) error = "unexpected argument " + quoted(arguments[i + 1]);
            break;
        }
        if (argument == "-h") argument = "--help";
        if (!argument.starts_with("--")) {
            error = (argument.starts_with("-") && argument.size() > 1 ? "unrecognized option "
                                                                      : "unexpected argument ") +
                    quoted(argument);
            break;
        }
        argument.remove_prefix(2);
        auto equals = argument.find('=');
        std::string_view typed = argument.substr(0, equals);
        const LongOption* option = findLongOption(typed, error);
        if (!option) break;
        std::string_view value;
        if (equals != std::string_view::npos) {
            if (!option->takesValue) {
                error = "option " + quoted("--" + std::string(option->text)) + " takes no value";
                break;
            }
            value = argument.substr(equals + 1);
        } else if (option->takesValue) {
            if (i + 1 == arguments.size()) {
                error = "option " + quoted("--" + std::string(option->text)) + " needs a value";
                break;
            }
            value = arguments[++i];
        }
        if (!apply(parsed.options, option->name, value, error)) break;
    }
    return parsed;
}

std::string usageText() {
    return R"(Usage: vantorix [OPTION]...
Vantorix, a lane shooter: five enemies march towards your ship, lane by lane.

Options:
      --fullscreen      start in full screen
      --window          start in a window
      --scale N         draw the field N times its size (a whole number, 1 or more)
      --mute            no music and no sound effects
      --soundfont FILE  play the music through this SoundFont
  -h, --help            show this help and exit
      --version         show the version and exit

Keys:
  Z                     start a game; fire (hold it to keep firing)
  X                     quit between games; a High during a game
  Up, Down              move the ship one lane
  Alt+Enter, F11        full screen on and off

Gamepad: the D-pad or the left stick moves the ship, the bottom face button
(A, Cross) and Start are Z, the right face button (B, Circle) is X.

The window's size and full screen are remembered in
$XDG_CONFIG_HOME/vantorix/settings (~/.config/vantorix/settings by default).
)";
}

std::string versionText() { return "vantorix " VANTORIX_VERSION "\n"; }

}  // namespace vantorix
