#include "platform/sound/sdl_sound_out.h"

#include <SDL.h>

#include <cstdio>

#include "media/effect_file.h"
#include "media/module1.h"
#include "media/system_sounds.h"

namespace vantorix {

void SdlSoundOut::sayOnStderr(const std::string& line) {
    std::fprintf(stderr, "vantorix: %s\n", line.c_str());
}

SdlSoundOut::SdlSoundOut(MixerDevice& mixer, Say say) : mixer_(mixer), say_(std::move(say)) {
    if (!mixer_.open()) return;
    beep_ = mixer_.convert(beepWave(mixer_.sampleRate()));
    defaultSound_ = mixer_.convert(defaultSoundWave(mixer_.sampleRate()));
}

SdlSoundOut::~SdlSoundOut() {
    mixer_.halt(MixerDevice::kEffectChannel);
    mixer_.halt(MixerDevice::kBeepChannel);
}

std::unique_ptr<MixerSound> SdlSoundOut::load(const std::string& path) {
    std::string whyNot;
    bool tooLarge = false;
    auto effect = readEffect(path, mixer_.sampleRate(), whyNot, tooLarge);
    std::unique_ptr<MixerSound> sound = effect ? mixer_.convert(std::move(effect->bytes)) : nullptr;
    if (effect && !sound) whyNot = std::string("not a wave file SDL can decode (") + SDL_GetError() + ")";
    if (!sound && refused_.insert(path).second) say_(path + ": not played, " + whyNot);
    return sound;
}

void SdlSoundOut::start(const MixerSound* sound) {
    mixer_.play(MixerDevice::kEffectChannel, sound);
}

void SdlSoundOut::waitForEnd(const MixerSound& sound) {
    // Asleep for most of the sound's length, then a close watch for its end.
    // The clock, not the samples taken, bounds the wait: a device that stops
    // taking them (a stalled sound server) holds the game for the sound's
    // length and two chunks, the one it starts in and one for uneven pulls.
    auto lengthMs = static_cast<Uint64>(mixedLengthMs(sound.size, mixer_.sampleRate()));
    Uint64 giveUpAt = SDL_GetTicks64() + lengthMs + 2 * MixerDevice::chunkMs();
    SDL_Delay(static_cast<Uint32>(lengthMs));
    while (mixer_.playing(MixerDevice::kEffectChannel) && SDL_GetTicks64() < giveUpAt) SDL_Delay(2);
}

bool SdlSoundOut::play(const std::string& path, std::uint32_t flags) {
    if (!mixer_.open()) return false;
    // An effect that has played out goes before the next is converted: the
    // conversion takes room for many times the sound for a moment, and at a
    // game's end, the longest effect right after another, it sets the game's
    // peak memory.
    if (!mixer_.playing(MixerDevice::kEffectChannel)) current_.reset();
    auto sound = load(path);
    bool background = flags & Module1::SND_ASYNC;
    if (!sound) {
        if (background && !(flags & Module1::SND_NODEFAULT) && defaultSound_) start(defaultSound_.get());
        return false;
    }
    // The effect playing now is cut before the sound it uses is let go.
    start(sound.get());
    current_ = std::move(sound);
    if (!background) waitForEnd(*current_);
    return true;
}

void SdlSoundOut::beep() {
    if (beep_) mixer_.play(MixerDevice::kBeepChannel, beep_.get());
}

}  // namespace vantorix
