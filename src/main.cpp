#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <future>
#include <memory>

#include "audio/mci_device.h"
#include "audio/module1.h"
#include "audio/sdl/fluid_music.h"
#include "audio/sdl/mixer_device.h"
#include "audio/sdl/sdl_sound_out.h"
#include "desktop/options.h"
#include "desktop/settings.h"
#include "desktop/window_choice.h"
#include "game/form_vtx.h"
#include "playfield/form.h"
#include "playfield/form_description.h"
#include "playfield/program.h"
#include "playfield/sdl/font_finder.h"
#include "playfield/sdl/sdl_input.h"
#include "playfield/sdl/sdl_window.h"
#include "playfield/sdl/x_resources.h"
#include "playfield/system_clock.h"

namespace {

void say(const std::string& line) { std::fprintf(stderr, "vantorix: %s\n", line.c_str()); }

// Keeps the music in the mixer for as long as the songs can play.
struct MusicInMixer {
    MusicInMixer(vantorix::MixerDevice& mixer, vantorix::FluidMusic& music) : mixer(mixer) { mixer.setMusic(&music); }
    ~MusicInMixer() { mixer.setMusic(nullptr); }
    vantorix::MixerDevice& mixer;
};

// The desktop and the volume mixer name the program after its menu entry.
void nameTheProgram() {
    SDL_SetHint(SDL_HINT_APP_NAME, "Vantorix");
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Vantorix");
    SDL_setenv("SDL_VIDEO_X11_WMCLASS", "vantorix", 0);
    SDL_setenv("SDL_VIDEO_WAYLAND_WMCLASS", "vantorix", 0);
}

int run(const vantorix::Options& options) {
    using namespace vantorix;
    // The synthesizer takes a while to set up and needs nothing from SDL: it
    // gets ready on the other core while the window and the fonts are prepared.
    // Muted, it plays without a SoundFont: silent, at the same pace.
    std::string soundFont = options.mute ? std::string() : options.soundFont.value_or(defaultSoundFont());
    auto musicReady = std::async(std::launch::async, [soundFont] {
        return std::make_unique<FluidMusic>(MixerDevice::kSampleRate, soundFont);
    });
    nameTheProgram();
    // The software renderer alone: OpenGL would cost far more memory than it saves time.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    // Only real desktops: SDL would otherwise fall back to an invisible off-screen
    // window, and probing Wayland without a compositor prints noise of its own.
    if (!SDL_getenv("SDL_VIDEODRIVER"))
        SDL_SetHint(SDL_HINT_VIDEODRIVER, SDL_getenv("WAYLAND_DISPLAY") ? "x11,wayland" : "x11");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        say(std::string("cannot open a display: ") + SDL_GetError());
        return 1;
    }
    if (TTF_Init() != 0) {
        say(std::string("cannot start the font renderer: ") + TTF_GetError());
        return 1;
    }
    std::string whyNot;
    auto fonts = findFontFiles(whyNot);
    if (!fonts) {
        say(whyNot);
        return 1;
    }

    auto settingsPath = settingsFile();
    SettingsRead remembered = readSettings(settingsPath);
    if (!remembered.warning.empty()) say(remembered.warning);
    WindowSettings start = startingWindow(options, remembered.settings, xDesktopScale());

    SystemClock clock;
    auto description = formVTXDescription();
    SdlWindow window(std::string(description.front().caption), *fonts, start);
    if (!window.ok()) {
        say("cannot create the window: " + window.error());
        return 1;
    }
    SdlInput input(clock, window);

    MixerDevice mixer(options.mute);
    if (!mixer.warning().empty()) say(mixer.warning());
    std::unique_ptr<FluidMusic> musicOwner = musicReady.get();
    FluidMusic& music = *musicOwner;
    if (!options.mute && !music.warning().empty()) say(music.warning());
    MusicInMixer hook(mixer, music);
    MciDevice device([&music](const std::string& path, std::string& why) {
        return music.load(path, why);
    });
    SdlSoundOut sounds(mixer);

    Form form(description, clock, input, window);
    Program app(programFolder(), clock, [&sounds] { sounds.beep(); });
    Module1::install({&device, &sounds, [&form] { form.present(); }});
    form.onEnd = [] { Module1::shutDown(); };

    FormVTX game(form, app);
    game.Form_Load();
    // What the player does to the window is kept for the next run; the window a
    // run was merely started with is not.
    WindowSettings opened = window.settings();
    // Showing the window activates it, and the music loop runs the game from there.
    form.show();

    WindowSettings now = window.settings();
    if (now != opened && !settingsPath.empty() && !writeSettings(settingsPath, now, whyNot)) say(whyNot);
    return 0;
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
    int status = 1;
    try {
        status = run(options);
    } catch (const std::exception& error) {
        say(error.what());
    }
    TTF_Quit();
    SDL_Quit();
    return status;
}
