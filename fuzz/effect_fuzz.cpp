// An effect file as the game plays it: our reader sizing it against the limits,
// then SDL's wave loader decoding it and our mixer playing it on the dummy
// audio driver.
#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "media/effect_file.h"
#include "media/module1.h"
#include "platform/sound/mixer_device.h"
#include "platform/sound/sdl_sound_out.h"
#include "temp_file.h"

namespace {

std::unique_ptr<vantorix::MixerDevice> mixer;
std::unique_ptr<vantorix::SdlSoundOut> sounds;
std::unique_ptr<vantorix::fuzz::TempFile> waveFile;

[[noreturn]] void fail(const char* why) {
    std::fprintf(stderr, "effect_fuzz: %s\n", why);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
    mixer = std::make_unique<vantorix::MixerDevice>();
    if (!mixer->open()) fail(mixer->warning().c_str());
    sounds = std::make_unique<vantorix::SdlSoundOut>(*mixer);
    waveFile = std::make_unique<vantorix::fuzz::TempFile>(".wav");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using vantorix::Module1::SND_ASYNC;
    using vantorix::Module1::SND_NODEFAULT;
    waveFile->write(data, size);
    bool played = sounds->play(waveFile->path(), SND_ASYNC | SND_NODEFAULT);
    std::string whyNot;
    bool tooLarge = false;
    auto effect = vantorix::readEffect(waveFile->path(), mixer->sampleRate(), whyNot, tooLarge);
    if (played && !effect) fail("the mixer played a file our reader refuses");
    if (!effect) return 0;
    if (effect->wave.frames() < 0 || effect->wave.lengthMs() < 0) fail("a sized wave of negative length");
    // The limit goes by the size reckoned from the header: what the mixer makes
    // of the sound must not be larger.
    std::uint64_t reckoned = effect->wave.decodedBytes(mixer->sampleRate());
    auto sound = mixer->convert(std::move(effect->bytes));
    if (sound && sound->size > reckoned) fail("the mixer's sound is larger than reckoned");
    return 0;
}
