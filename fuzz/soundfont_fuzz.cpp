// A SoundFont file as the game takes one a player names: our reader of its
// tables cuts it down to a song's presets, FluidSynth loads the cut with every
// sample read on a synthesizer of its own, and on another each kept program
// sounds a note.
#include <fluidsynth.h>

#include <bitset>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "media/byte_reader.h"
#include "media/sound_font.h"
#include "platform/sound/fluid_library.h"
#include "platform/sound/fluid_sound_fonts.h"
#include "temp_file.h"

namespace {

using vantorix::SoundFontImage;
using vantorix::SoundFontIndex;

const vantorix::FluidLibrary* fluid = nullptr;
fluid_settings_t* settings = nullptr;
fluid_settings_t* eager = nullptr;
fluid_synth_t* synth = nullptr;
std::unique_ptr<vantorix::SoundFontReader> reader;
std::unique_ptr<vantorix::fuzz::TempFile> soundFontFile;

[[noreturn]] void fail(const char* why) {
    std::fprintf(stderr, "soundfont_fuzz: %s\n", why);
    std::abort();
}

// The cut is a RIFF file of its own that reads through to its last byte, and
// never much larger than the file it was cut from: its own padding, and silent
// points when it keeps no sample.
void checkImage(const SoundFontImage& image, std::size_t fileSize) {
    if (image.size() < 12 || image.size() > fileSize + 256) fail("the cut has an unlikely size");
    std::FILE* source = std::fopen(image.source().c_str(), "rb");
    if (!source) fail("the source cannot be opened");
    std::vector<std::uint8_t> bytes(image.size());
    bool whole = image.read(0, bytes, source);
    std::uint8_t past = 0;
    bool beyond = image.read(image.size(), std::span(&past, 1), source);
    std::fclose(source);
    if (!whole) fail("the cut does not read through");
    if (beyond) fail("the cut reads past its end");
    if (std::memcmp(bytes.data(), "RIFF", 4) != 0 || vantorix::le32(bytes.data() + 4) + 8 != image.size())
        fail("the cut's RIFF header is wrong");
}

void play(int id, const std::bitset<128>& programs) {
    std::vector<float> left(512), right(512);
    for (int program = 0; program < 128; ++program) {
        if (!programs[program]) continue;
        if (fluid_synth_program_select(synth, 0, id, 0, program) != FLUID_OK) continue;
        fluid_synth_noteon(synth, 0, 60, 100);
        fluid_synth_write_float(synth, 512, left.data(), 0, 1, right.data(), 0, 1);
        fluid_synth_all_sounds_off(synth, 0);
    }
    // Cut voices let go of their samples over the next renders; a SoundFont
    // unloaded before that is left to a timer thread of FluidSynth's.
    for (int i = 0; i < 2; ++i) fluid_synth_write_float(synth, 512, left.data(), 0, 1, right.data(), 0, 1);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string why;
    fluid = vantorix::fluidLibrary(why);
    if (!fluid) fail(why.c_str());
    vantorix::quietFluid(*fluid);
    settings = new_fluid_settings();
    fluid_settings_setint(settings, "synth.polyphony", 16);
    synth = new_fluid_synth(settings);
    eager = vantorix::newEagerSettings(*fluid);
    reader = std::make_unique<vantorix::SoundFontReader>(*fluid, eager, settings);
    soundFontFile = std::make_unique<vantorix::fuzz::TempFile>(".sf2");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    soundFontFile->write(data, size);
    std::string whyNot;
    auto index = SoundFontIndex::read(soundFontFile->path(), whyNot);
    if (!index) return 0;
    // FluidSynth's own loaders read the file itself (ours knows no such name):
    // a file it takes, it must take cut down too.
    int whole = fluid_synth_sfload(synth, soundFontFile->path().c_str(), 0);
    if (whole >= 0) fluid_synth_sfunload(synth, whole, 1);
    // Program 0 alone, as every song's channels start on it, and every program.
    std::bitset<128> programs(1);
    for (const auto& wanted : {programs, ~std::bitset<128>()}) {
        auto image = std::make_shared<SoundFontImage>(index->subset(wanted));
        checkImage(*image, size);
        fluid_sfont_t* cut = reader->readImage(image);
        if (!cut && whole >= 0) fail("FluidSynth takes the file but not its cut");
        if (!cut) continue;
        play(fluid_synth_add_sfont(synth, cut), wanted);
        fluid_synth_remove_sfont(synth, cut);
        reader->unload(cut);
    }
    return 0;
}
