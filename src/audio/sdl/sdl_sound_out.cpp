#include "audio/sdl/sdl_sound_out.h"

#include <SDL.h>

#include <cstdio>

#include "audio/effect_file.h"
#include "audio/module1.h"
#include "audio/system_sounds.h"

namespace vantorix {

namespace {

Mix_Chunk* chunkOf(const std::vector<std::uint8_t>& wave) {
    return Mix_LoadWAV_RW(SDL_RWFromConstMem(wave.data(), static_cast<int>(wave.size())), 1);
}

}  // namespace

void SdlSoundOut::sayOnStderr(const std::string& line) {
    std::fprintf(stderr, "vantorix: %s\n", line.c_str());
}

SdlSoundOut::SdlSoundOut(MixerDevice& mixer, Say say) : mixer_(mixer), say_(std::move(say)) {
    if (!mixer_.open()) return;
    beep_ = chunkOf(beepWave(mixer_.sampleRate()));
    defaultSound_ = chunkOf(defaultSoundWave(mixer_.sampleRate()));
}

SdlSoundOut::~SdlSoundOut() {
    if (mixer_.open()) Mix_HaltChannel(-1);
    Mix_FreeChunk(current_);
    Mix_FreeChunk(beep_);
    Mix_FreeChunk(defaultSound_);
}

Mix_Chunk* SdlSoundOut::load(const std::string& path) {
    std::string whyNot;
    bool tooLarge = false;
    auto effect = readEffect(path, mixer_.sampleRate(), whyNot, tooLarge);
    if (tooLarge && refused_.insert(path).second) say_(path + ": not played, " + whyNot);
    return effect ? chunkOf(effect->wave.canonicalBytes()) : nullptr;
}

void SdlSoundOut::start(Mix_Chunk* chunk, bool owned) {
    Mix_HaltChannel(MixerDevice::kEffectChannel);
    Mix_FreeChunk(current_);
    current_ = owned ? chunk : nullptr;
    Mix_PlayChannel(MixerDevice::kEffectChannel, chunk, 0);
}

void SdlSoundOut::waitForEnd(Mix_Chunk* chunk) {
    // The sound's own length, plus a margin in case the device stalls.
    auto lengthMs = static_cast<Uint64>(mixedLengthMs(chunk->alen, mixer_.sampleRate()));
    Uint64 giveUpAt = SDL_GetTicks64() + lengthMs + 2000;
    while (Mix_Playing(MixerDevice::kEffectChannel) && SDL_GetTicks64() < giveUpAt) SDL_Delay(2);
}

bool SdlSoundOut::play(const std::string& path, std::uint32_t flags) {
    if (!mixer_.open()) return false;
    Mix_Chunk* chunk = load(path);
    bool background = flags & Module1::SND_ASYNC;
    if (!chunk) {
        if (background && !(flags & Module1::SND_NODEFAULT) && defaultSound_)
            start(defaultSound_, false);
        return false;
    }
    start(chunk, true);
    if (!background) waitForEnd(chunk);
    return true;
}

void SdlSoundOut::beep() {
    if (beep_) Mix_PlayChannel(MixerDevice::kBeepChannel, beep_, 0);
}

}  // namespace vantorix
