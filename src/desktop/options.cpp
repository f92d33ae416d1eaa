#include "desktop/options.h"

#include <getopt.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "desktop/values.h"

namespace vantorix {

namespace {

// What getopt_long returns for each option; -h is --help's short form.
enum Name : int {
    Help = 'h',
    Version = 256,
    Fullscreen,
    Window,
    Scale,
    Mute,
    SoundFont,
    MusicVolume,
    EffectsVolume,
    FlashMode,
    Replays,
    ReplayOne,
    VerifyReplay
};

constexpr ::option kLongOptions[] = {
    {"help", no_argument, nullptr, Help},          {"version", no_argument, nullptr, Version},
    {"fullscreen", no_argument, nullptr, Fullscreen}, {"window", no_argument, nullptr, Window},
    {"scale", required_argument, nullptr, Scale},  {"mute", no_argument, nullptr, Mute},
    {"soundfont", required_argument, nullptr, SoundFont},
    {"music-volume", required_argument, nullptr, MusicVolume},
    {"effects-volume", required_argument, nullptr, EffectsVolume},
    {"flash", required_argument, nullptr, FlashMode},
    {"replays", no_argument, nullptr, Replays},
    {"replay", required_argument, nullptr, ReplayOne},
    {"verify-replay", no_argument, nullptr, VerifyReplay},
    {nullptr, 0, nullptr, 0},
};
// '+' stops at the first word that is no option, so a stray one is refused
// where it stands; ':' tells a missing value apart from the other faults.
constexpr const char* kShortOptions = "+:h";
// The options themselves, without the table's closing entry.
constexpr std::span kNamedOptions(kLongOptions, std::size(kLongOptions) - 1);

std::string quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

const ::option* optionNamed(int name) {
    auto found = std::ranges::find(kNamedOptions, name, &::option::val);
    return found == kNamedOptions.end() ? nullptr : &*found;
}

// Why getopt_long refused the option in `word`, the last word it read; `result`
// and optopt tell the faults apart.
std::string refusal(int result, std::string_view word) {
    if (optopt == 0) {
        // A long option naming none of ours, or the beginning of several.
        std::string_view typed = word.substr(0, word.find('='));
        bool begins = std::ranges::any_of(kNamedOptions, [typed](const ::option& option) {
            return std::string_view(option.name).starts_with(typed.substr(2));
        });
        return (begins ? "ambiguous option " : "unrecognized option ") + quoted(typed);
    }
    const ::option* option = optionNamed(optopt);
    if (!option) return "unrecognized option " + quoted(std::string{'-', static_cast<char>(optopt)});
    return "option " + quoted("--" + std::string(option->name)) +
           (result == ':' ? " needs a value" : " takes no value");
}

// Sets what option `name` asks for; the reason when its value will not do.
std::string apply(Options& options, bool& verifying, int name, std::string_view value) {
    switch (name) {
        case Help: options.help = true; break;
        case Version: options.version = true; break;
        case Fullscreen: options.fullscreen = true; break;
        case Window: options.fullscreen = false; break;
        case Mute: options.mute = true; break;
        case Replays: options.listReplays = true; break;
        case VerifyReplay: verifying = true; break;
        case ReplayOne:
            if (value.empty()) return "option '--replay' needs a file name, best or last";
            options.replay = std::string(value);
            break;
        case SoundFont:
            if (value.empty()) return "option '--soundfont' needs a file name";
            options.soundFont = std::string(value);
            break;
        case MusicVolume:
        case EffectsVolume: {
            auto volume = parseVolume(value);
            if (!volume) return "invalid volume " + quoted(value) + ": a whole number from 0 to 100 is needed";
            (name == MusicVolume ? options.musicVolume : options.effectsVolume) = volume;
            break;
        }
        case FlashMode:
            options.flash = parseFlash(value);
            if (!options.flash) return "invalid flash " + quoted(value) + ": full, dim or off is needed";
            break;
        case Scale:
            options.scale = parseScale(value);
            if (!options.scale) {
                return "invalid scale " + quoted(value) + ": a whole number from 1 to " +
                       std::to_string(kLargestScale) + " is needed";
            }
            break;
    }
    return {};
}

}  // namespace

ParsedOptions parseOptions(std::span<const char* const> arguments) {
    // getopt_long wants the program's name first, and words it may move about.
    std::vector<std::string> words{"vantorix"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const int argc = static_cast<int>(words.size());

    ParsedOptions parsed;
    bool verifying = false;
    optind = 0;  // glibc starts afresh: each call reads its own arguments
    opterr = 0;  // the caller tells the player
    while (parsed.error.empty()) {
        int name = getopt_long(argc, argv.data(), kShortOptions, kLongOptions, nullptr);
        if (name == -1) break;
        parsed.error = name == '?' || name == ':' ? refusal(name, argv[optind - 1])
                                                  : apply(parsed.options, verifying, name, optarg ? optarg : "");
    }
    if (!parsed.error.empty()) return parsed;
    if (verifying) {
        parsed.options.replaysToVerify.assign(argv.begin() + optind, argv.begin() + argc);
        if (parsed.options.replaysToVerify.empty())
            parsed.error = "option '--verify-replay' needs the replay files to verify";
    } else if (optind < argc) {
        parsed.error = "unexpected argument " + quoted(argv[optind]);
    }
    return parsed;
}

std::string usageText() {
    return R"(Usage: vantorix [OPTION]...
Vantorix, a lane shooter: five enemies march towards your ship, lane by lane.

Options:
      --fullscreen      start in full screen
      --window          start in a window
      --scale N         draw the field N times its size (a whole number from 1 to 64)
      --mute            no music and no sound effects
      --music-volume N  the music's volume, 0 to 100 (100 as made)
      --effects-volume N
                        the sound effects' volume, 0 to 100 (100 as made)
      --flash MODE      a High's white flash: full, dim (a gentle change of
                        colour) or off
      --soundfont FILE  play the music through this SoundFont
      --replays         list the kept games, best first, and exit
      --replay GAME     watch a kept game again: a replay file, best or last
                        (X or closing the window ends it)
      --verify-replay FILE...
                        play each replay through the rules, without a window,
                        and exit 0 when every recorded check matches
  -h, --help            show this help and exit
      --version         show the version and exit

Keys:
  Z                     start a game; fire (hold it to keep firing)
  X                     quit between games; a High during a game
  Up, Down              move the ship one lane
  Alt+Enter, F11        full screen on and off
  M                     music off and on
  P                     pause and go on (a game also pauses when the window
                        loses the focus)

Gamepad: the D-pad or the left stick moves the ship, the bottom face button
(A, Cross) and Start are Z, the right face button (B, Circle) is X, Back
(Select) pauses.

Every game is kept as a replay in $XDG_DATA_HOME/vantorix/replays
(~/.local/share/vantorix/replays by default): the latest 20 and the best 10.

The window's size and full screen, and the music on or off, are remembered in
$XDG_CONFIG_HOME/vantorix/settings (~/.config/vantorix/settings by default),
where you may also set music-volume, effects-volume, flash,
pause-on-focus-loss (yes or no) and the keys by name:
  fire = space     high = b     up = w     down = s
(letters, digits, space, return, tab, the arrows, f1 to f12, kp0 to kp9,
lshift, rshift, lctrl, rctrl, ...; F11, M and P stay the window's).
)";
}

std::string versionText() { return "vantorix " VANTORIX_VERSION "\n"; }

}  // namespace vantorix
