#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <ctime>
#include <exception>
#include <filesystem>
#include <future>
#include <memory>

#include "desktop/options.h"
#include "desktop/settings.h"
#include "desktop/window_choice.h"
#include "game/form_vtx.h"
#include "game/form_vtx_description.h"
#include "media/mci_device.h"
#include "media/module1.h"
#include "platform/sound/fluid_music.h"
#include "platform/sound/game_sound.h"
#include "platform/sound/mixer_device.h"
#include "platform/window/font_cache.h"
#include "platform/window/font_finder.h"
#include "platform/window/pause.h"
#include "platform/window/sdl_input.h"
#include "platform/window/sdl_window.h"
#include "platform/window/text_fonts.h"
#include "replay/recorder.h"
#include "replay/replay_file.h"
#include "replay/replay_input.h"
#include "replay/replay_store.h"
#include "replay/seed_clock.h"
#include "replay/verify.h"
#include "runtime/form.h"
#include "runtime/key_codes.h"
#include "runtime/pausing_clock.h"
#include "runtime/program.h"
#include "runtime/system_clock.h"

namespace {

// Each line of `lines` on stderr, named as ours.
void say(const std::string& lines) {
    for (std::size_t start = 0; start <= lines.size();) {
        auto end = std::min(lines.find('\n', start), lines.size());
        std::fprintf(stderr, "vantorix: %.*s\n", static_cast<int>(end - start), lines.data() + start);
        start = end + 1;
    }
}

// The desktop and the volume mixer name the program after its menu entry, and
// show its sound as a game's, with its icon: desktops that duck or route
// games' sound tell it by the role. SDL's PipeWire driver takes the role from
// its hint; its PulseAudio driver sets neither, and PulseAudio's client
// library takes both from the environment, unless the player set them there.
void nameTheProgram() {
    SDL_SetHint(SDL_HINT_APP_NAME, "Vantorix");
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Vantorix");
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_ROLE, "game");
    SDL_setenv("PULSE_PROP_media.role", "game", 0);
    SDL_setenv("PULSE_PROP_application.icon_name", "vantorix", 0);
    SDL_setenv("SDL_VIDEO_X11_WMCLASS", "vantorix", 0);
    SDL_setenv("SDL_VIDEO_WAYLAND_WMCLASS", "vantorix", 0);
}

// Which display was tried, in the player's terms: SDL's own reason names neither.
std::string whyNoDisplay() {
    const char* x = SDL_getenv("DISPLAY");
    const char* wayland = SDL_getenv("WAYLAND_DISPLAY");
    bool hasX = x && *x, hasWayland = wayland && *wayland;
    if (!hasX && !hasWayland) return "DISPLAY is not set (the game needs a desktop session)";
    std::string tried = hasX && hasWayland ? "neither " : "";
    if (hasX) tried += std::string("the X display '") + x + "' (DISPLAY)";
    if (hasWayland) tried += std::string(hasX ? " nor " : "") + "the Wayland display '" + wayland + "'";
    return tried + " could not be opened: " + SDL_GetError();
}

struct FontsFound {
    std::unique_ptr<vantorix::TextFonts> fonts;
    std::string whyNot;
};

// The fonts, found and opened on the other core while SDL sets up the display:
// fontconfig reads some thirty files of its own before it can answer, and
// SDL_ttf with the libraries it brings is loaded there, not before main.
std::future<FontsFound> openFonts() {
    return std::async(std::launch::async, [cache = vantorix::fontCacheFile()] {
        FontsFound found;
        auto files = vantorix::findFontFilesRemembered(cache, found.whyNot);
        if (!files) return found;
        found.fonts = std::make_unique<vantorix::TextFonts>(*files);
        if (!found.fonts->ok()) found.whyNot = found.fonts->error();
        return found;
    });
}

// `watching` is a recorded game to show; without one the player plays, and
// each game is kept.
int run(const vantorix::Options& options, const vantorix::Replay* watching) {
    using namespace vantorix;
    // The environment is set before another thread may read it: a setenv
    // beside a getenv can pull the environment from under the reader.
    nameTheProgram();
    // Nothing needs the fonts before the window.
    auto fontsOpened = openFonts();
    // The window's pixels are ours to draw, never through OpenGL: it would cost
    // far more memory than it saves time.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // Only real desktops: SDL would otherwise fall back to an invisible off-screen
    // window, and probing Wayland without a compositor prints noise of its own.
    if (!SDL_getenv("SDL_VIDEODRIVER"))
        SDL_SetHint(SDL_HINT_VIDEODRIVER, SDL_getenv("WAYLAND_DISPLAY") ? "x11,wayland" : "x11");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        say("cannot open a display: " + whyNoDisplay());
        // Nothing else was started, and the fonts still being looked for on the
        // other thread are of no use now: no waiting for them.
        std::_Exit(1);
    }

    auto settingsPath = settingsFile();
    SettingsRead remembered = readSettings(settingsPath);
    if (!remembered.warning.empty()) say(remembered.warning);

    FontsFound opened = fontsOpened.get();
    if (!opened.whyNot.empty()) {
        say(opened.whyNot);
        return 1;
    }
    Settings chosen = settingsForThisRun(options, remembered.settings);
    SystemClock realClock;
    PausingClock clock(realClock);
    auto description = formVTXDescription();
    SdlWindow window(std::string(description.front().caption), *opened.fonts);
    if (!window.ok()) {
        say("cannot create the window: " + window.error());
        return 1;
    }
    window.setFlash(chosen.flash);
    SdlInput input(clock, window);
    input.setBindings(chosen.keys);
    std::optional<ReplayInput> replayInput;
    if (watching) replayInput.emplace(*watching, input, clock, vbKeyX);

    FluidMusic music(MixerDevice::kSampleRate);
    MciDevice device([&music](const std::string& path, std::string& why) { return music.load(path, why); });
    Form form(description, clock, replayInput ? static_cast<InputSource&>(*replayInput) : input, window);
    SoundChoice choice{options.mute, options.soundFont.value_or(""), chosen.musicVolume, chosen.effectsVolume,
                       chosen.musicOn};
    GameSound sound(choice, music, device, [&form] { form.present(); }, say);
    SeedClock seeds(clock);
    Program app(programFolder(), seeds, [&sound] { sound.beep(); });
    form.onEnd = [] { Module1::shutDown(); };

    FormVTX game(form, app);
    Pause pause(clock, window, input, [&game] { return game.gamePlaying; },
                [&sound](bool held) { sound.hold(held); });
    std::optional<Recorder> recorder;
    std::future<void> keeping;
    game.Form_Load();
    if (watching) {
        // The player's keys do nothing while a recorded game is shown.
        std::string whyNot;
        if (!applyState(watching->start, game, form, whyNot)) {
            say("cannot show the replay: " + whyNot);
            return 2;
        }
        seeds.feed(watching->seeds);
        form.tickTimersFromInput();
    } else {
        input.onMusicKey = [&sound] { sound.setMusicOn(!sound.musicOn()); };
        input.onPauseKey = [&pause] { pause.toggle(); };
        if (chosen.pauseOnFocusLoss) {
            input.onFocusLost = [&pause] { pause.focusLost(); };
            input.onFocusGained = [&pause] { pause.focusGained(); };
        }
        // Written on the other core: the disk's flush and the sorting of the kept
        // games would hold the title screen's first moments. The run waits for it.
        auto keep = [&keeping, folder = replayFolder(), told = std::make_shared<bool>(false)](
                        const ReplayHeader& header, std::string file) {
            if (keeping.valid()) keeping.wait();
            keeping = std::async(std::launch::async, [=, file = std::move(file)] {
                std::string whyNot;
                // One line the first time: the games go on whether kept or not.
                if (!keepReplay(folder, header, file, whyNot) && !*told) {
                    *told = true;
                    say(whyNot);
                }
            });
        };
        recorder.emplace(form, game, clock, seeds, [] { return static_cast<std::int64_t>(std::time(nullptr)); },
                         keep);
    }
    // Once the field has its size, the room it takes on the screen is known.
    window.startWith(startingWindow(options, remembered.settings.window, window.desktopScale(), window.roomyScale()));
    // What the player does to the window is kept for the next run; the window a
    // run was merely started with is not.
    WindowSettings startedWith = window.settings();
    // Showing the window draws the first frame, then activates it: the music
    // loop runs the game from there.
    auto activate = std::move(form.onActivate);
    form.onActivate = [&sound, &activate] {
        sound.start();
        activate();
    };
    form.show();

    Settings now = remembered.settings;
    if (window.settings() != startedWith) now.window = window.settings();
    now.musicOn = sound.musicOn();
    std::string whyNot;
    if (now != remembered.settings && !settingsPath.empty() && !writeSettings(settingsPath, now, whyNot))
        say(whyNot);
    if (keeping.valid()) keeping.wait();
    // All that is kept is written: the program ends here. Closing the sound
    // device in order would wait for its audio thread, which a stalled sound
    // server holds for as long as it stalls; the desktop and the server let go
    // of the window and the stream when the process ends.
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(0);
}

// A SoundFont asked for by name must be there: silence would hide the typo.
bool readableFile(const std::string& path, std::string& whyNot) {
    std::error_code error;
    auto type = std::filesystem::status(path, error).type();
    if (type == std::filesystem::file_type::regular) return true;
    std::string why = type == std::filesystem::file_type::not_found ? "no such file"
                      : error                                       ? error.message()
                                                                    : "not a regular file";
    whyNot = "cannot use the SoundFont '" + path + "': " + why;
    return false;
}

// --replays: the kept games, best first.
int listReplays() {
    using namespace vantorix;
    std::vector<std::string> refused;
    auto folder = replayFolder();
    auto kept = keptReplays(folder, &refused);
    for (const std::string& line : refused) say("ignoring " + line);
    if (kept.empty()) {
        std::printf("No games are kept yet (%s).\n", folder.c_str());
        return 0;
    }
    std::fputs(replayListing(kept).c_str(), stdout);
    return 0;
}

// --verify-replay: 0 when every file's checks all match, 1 naming the first
// file and event that do not.
int verifyReplays(const std::vector<std::string>& files) {
    using namespace vantorix;
    int status = 0;
    for (const std::string& file : files) {
        std::string whyNot;
        auto replay = readReplay(file, whyNot);
        std::optional<std::string> differs = replay ? verifyReplay(*replay) : whyNot;
        if (differs) {
            say(file + ": " + *differs);
            status = 1;
            continue;
        }
        std::printf("%s: ok, %lld, %s\n", file.c_str(), static_cast<long long>(replay->header.score),
                    std::string(endingName(replay->header.ending)).c_str());
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace vantorix;
    ParsedOptions parsed = parseOptions({argv + std::min(argc, 1), argv + argc});
    const Options& options = parsed.options;
    if (parsed.error.empty() && options.soundFont) readableFile(*options.soundFont, parsed.error);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "vantorix: %s\n%s\n", parsed.error.c_str(), std::string(kHelpHint).c_str());
        return 2;
    }
    if (options.help || options.version) {
        std::fputs((options.help ? usageText() : versionText()).c_str(), stdout);
        return 0;
    }
    if (options.listReplays) return listReplays();
    if (!options.replaysToVerify.empty()) return verifyReplays(options.replaysToVerify);
    std::optional<Replay> watching;
    if (options.replay) {
        std::string whyNot;
        auto file = resolveReplay(replayFolder(), *options.replay, whyNot);
        if (!file.empty()) watching = readReplay(file, whyNot);
        if (!watching) {
            say((file.empty() ? std::string() : file.string() + ": ") + whyNot);
            return 2;
        }
    }
    int status = 1;
    try {
        status = run(options, watching ? &*watching : nullptr);
    } catch (const std::exception& error) {
        say(error.what());
    }
    SDL_Quit();
    return status;
}
