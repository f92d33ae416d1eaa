// fluid_player: FluidSynth's own MIDI player at the game's audio chunk. The
// fluidsynth program's SDL2 driver will not go under 2048 frames a chunk, so
// it wakes a quarter as often as the game; this plays a song with the game's
// settings through SDL's audio callback in 512-frame chunks, as the game's
// mixer asks, and nothing else: the main thread sleeps until a signal.
//
//   fluid_player SOUNDFONT SONG
#include <SDL.h>
#include <fluidsynth.h>
#include <signal.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: fluid_player SOUNDFONT SONG\n");
        return 2;
    }
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setnum(settings, "synth.sample-rate", 44100);
    fluid_settings_setnum(settings, "synth.gain", 0.7);
    fluid_settings_setint(settings, "synth.polyphony", 64);
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    fluid_settings_setint(settings, "synth.threadsafe-api", 0);
    fluid_synth_t* synth = new_fluid_synth(settings);
    fluid_synth_chorus_on(synth, -1, 0);
    fluid_synth_set_interp_method(synth, -1, FLUID_INTERP_LINEAR);
    fluid_player_t* player = new_fluid_player(synth);
    if (fluid_synth_sfload(synth, argv[1], 1) == FLUID_FAILED || fluid_player_add(player, argv[2]) != FLUID_OK) {
        std::fprintf(stderr, "fluid_player: cannot load %s or %s\n", argv[1], argv[2]);
        return 1;
    }
    fluid_player_set_loop(player, -1);
    fluid_player_play(player);

    // Signals are taken by sigwait() below, never by a thread SDL starts.
    sigset_t quit;
    sigemptyset(&quit);
    sigaddset(&quit, SIGINT);
    sigaddset(&quit, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &quit, nullptr);
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_Init(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "fluid_player: %s\n", SDL_GetError());
        return 1;
    }
    SDL_AudioSpec want{};
    want.freq = 44100;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 512;
    want.userdata = synth;
    want.callback = [](void* synth, Uint8* stream, int bytes) {
        fluid_synth_write_s16(static_cast<fluid_synth_t*>(synth), bytes / 4, stream, 0, 2, stream, 1, 2);
    };
    SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (device == 0) {
        std::fprintf(stderr, "fluid_player: %s\n", SDL_GetError());
        return 1;
    }
    SDL_PauseAudioDevice(device, 0);
    int signal = 0;
    sigwait(&quit, &signal);
    SDL_CloseAudioDevice(device);
    SDL_Quit();
    delete_fluid_player(player);
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    return 0;
}
