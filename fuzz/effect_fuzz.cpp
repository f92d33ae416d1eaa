// An effect file as the game plays it: our own wave reader with its size limit,
// its canonical image, then SDL's wave loader decoding it and our mixer playing
// it on the dummy audio driver.
#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "media/effect_file.h"
#include "media/module1.h"
#include "media/wave_file.h"
#include "platform/sound/mixer_device.h"
#include "platform/sound/sdl_sound_out.h"
#include "temp_file.h"

namespace {

using vantorix::WaveFile;

std::unique_ptr<vantorix::MixerDevice> mixer;
std::unique_ptr<vantorix::SdlSoundOut> sounds;
std::unique_ptr<vantorix::fuzz::TempFile> waveFile;

[[noreturn]] void fail(const char* why) {
    std::fprintf(stderr, "effect_fuzz: %s\n", why);
    std::abort();
}

// The canonical image must read back as the same sound.
void checkCanonical(const WaveFile& wave) {
    auto image = wave.canonicalBytes();
    std::string whyNot;
    auto again = WaveFile::parse(image, whyNot);
    if (!again) fail("the canonical image does not read back");
    if (again->coding != wave.coding || again->channels != wave.channels ||
        again->sampleRate != wave.sampleRate || again->bitsPerSample != wave.bitsPerSample ||
        again->blockAlign != wave.blockAlign || again->framesPerBlock != wave.framesPerBlock ||
        !std::ranges::equal(again->format, wave.format) ||
        !std::ranges::equal(again->samples, wave.samples))
        fail("the canonical image reads back as another sound");
    if (wave.frames() <= 0 || wave.lengthMs() < 0) fail("a checked wave without frames");
}

// Codings the mixer takes exactly as our reader does: no decoder of its own
// with further rules, and what its converter handles.
bool plain(const WaveFile& wave) {
    return wave.coding != WaveFile::Coding::MsAdpcm && wave.coding != WaveFile::Coding::ImaAdpcm &&
           wave.channels <= 8 && wave.sampleRate < 4'000'000;
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
    if (effect) checkCanonical(effect->wave);
    if (played && !effect) fail("the mixer played a file our reader refuses");
    if (effect && !played && plain(effect->wave)) fail("the mixer refused a plain wave our reader accepts");
    return 0;
}
