#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "desktop/values.h"

namespace vantorix {

// What the command line asks of this run. Anything left unset falls back to the
// remembered settings, then to the desktop's own defaults.
struct Options {
    bool help = false;
    bool version = false;
    std::optional<bool> fullscreen;  // --fullscreen or --window, the last one given
    std::optional<int> scale;        // --scale N
    bool mute = false;
    std::optional<std::string> soundFont;
    std::optional<int> musicVolume;    // --music-volume N
    std::optional<int> effectsVolume;  // --effects-volume N
    std::optional<Flash> flash;        // --flash full|dim|off
    bool listReplays = false;                  // --replays
    std::optional<std::string> replay;         // --replay FILE|best|last
    std::vector<std::string> replaysToVerify;  // --verify-replay FILE...
};

struct ParsedOptions {
    Options options;
    std::string error;  // empty when the command line was understood
};

// Reads the arguments after the program's name with getopt_long, GNU style: long
// options may be shortened while they stay unambiguous, and take their value as
// "--scale=3" or "--scale 3". "--" ends the options; nothing but the files of
// --verify-replay may follow them.
// Prints nothing, and may be called again; getopt's state is global, though, so
// one thread at a time.
ParsedOptions parseOptions(std::span<const char* const> arguments);

// The text for --help and --version.
std::string usageText();
std::string versionText();
// The line pointing a puzzled player at --help.
constexpr std::string_view kHelpHint = "Try 'vantorix --help' for more information.";

}  // namespace vantorix
