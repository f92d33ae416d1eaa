#include "audio/sdl/mixer_device.h"

#include <SDL.h>
#include <SDL_mixer.h>

namespace vantorix {

namespace {
// 512 frames keep an effect's first sample within about 12 ms of its call.
constexpr int kChunkFrames = 512;
}  // namespace

MixerDevice::MixerDevice(bool silent) {
    if (!silent) {
        if (tryOpen()) return;
        warning_ = std::string("no sound device (") + SDL_GetError() + "); playing silently";
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
    tryOpen();
}

bool MixerDevice::tryOpen() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (Mix_OpenAudioDevice(kSampleRate, AUDIO_S16SYS, 2, kChunkFrames, nullptr, 0) != 0) return false;
    Mix_AllocateChannels(2);
    open_ = true;
    return true;
}

MixerDevice::~MixerDevice() {
    if (open_) Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace vantorix
