#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <exception>
#include <future>
#include <memory>

#include "audio/mci_device.h"
#include "audio/module1.h"
#include "audio/sdl/fluid_music.h"
#include "audio/sdl/mixer_device.h"
#include "audio/sdl/sdl_sound_out.h"
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

// Keeps the music hooked into the mixer for as long as the songs can play.
struct MusicHook {
    explicit MusicHook(vantorix::FluidMusic& music) { vantorix::hookMusic(&music); }
    ~MusicHook() { vantorix::hookMusic(nullptr); }
};

int run() {
    using namespace vantorix;
    // The synthesizer takes a while to set up and needs nothing from SDL: it
    // gets ready on the other core while the window and the fonts are prepared.
    auto musicReady = std::async(std::launch::async, [] {
        return std::make_unique<FluidMusic>(MixerDevice::kSampleRate, defaultSoundFont());
    });
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

    SystemClock clock;
    auto description = formVTXDescription();
    SdlWindow window(std::string(description.front().caption), *fonts, xDesktopScale());
    if (!window.ok()) {
        say("cannot create the window: " + window.error());
        return 1;
    }
    SdlInput input(clock, window);

    MixerDevice mixer;
    if (!mixer.warning().empty()) say(mixer.warning());
    std::unique_ptr<FluidMusic> musicOwner = musicReady.get();
    FluidMusic& music = *musicOwner;
    if (!music.warning().empty()) say(music.warning());
    MusicHook hook(music);
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
    // Showing the window activates it, and the music loop runs the game from there.
    form.show();
    return 0;
}

}  // namespace

int main() {
    int status = 1;
    try {
        status = run();
    } catch (const std::exception& error) {
        say(error.what());
    }
    TTF_Quit();
    SDL_Quit();
    return status;
}
