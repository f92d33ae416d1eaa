#pragma once

#include <memory>

#include "media/sound_font_image.h"
#include "platform/sound/fluid_library.h"

namespace vantorix {

// A SoundFont read with all its samples on a synthesizer of its own, which
// nothing renders, waiting to be moved onto the one that plays.
struct ReadSoundFont {
    explicit ReadSoundFont(const FluidLibrary& library) : fluid(library) {}
    ~ReadSoundFont();
    ReadSoundFont(const ReadSoundFont&) = delete;
    ReadSoundFont& operator=(const ReadSoundFont&) = delete;

    const FluidLibrary& fluid;
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_sfont_t* soundFont = nullptr;  // null once moved
};

// SoundFonts made of pieces (SoundFontImage) reach FluidSynth through a loader
// of our own, which it asks for them by name as if they were files, and which
// reads every sample at once: `eager` are the settings that say so, kept for
// as long as the synthesizer.
fluid_settings_t* newEagerSettings(const FluidLibrary& fluid);
void addImageLoader(const FluidLibrary& fluid, fluid_synth_t* synth, fluid_settings_t* eager);

// Loads an image, tables and samples, onto a synthesizer with that loader;
// its id, or -1 when FluidSynth refuses it. Slow: never on one that plays.
int loadImage(const FluidLibrary& fluid, fluid_synth_t* synth, std::shared_ptr<const SoundFontImage> image);

// Loads an image onto a synthesizer of its own; null when FluidSynth refuses
// it. It touches no other synthesizer: the music plays on meanwhile, and the
// audio thread neither reads a file nor waits for one being read.
std::unique_ptr<ReadSoundFont> readSoundFont(const FluidLibrary& fluid, std::shared_ptr<const SoundFontImage> image);

// Moves a read SoundFont onto `synth`, whose channels select their presets
// anew; its id there, or -1. Quick: call it with the lock `synth` renders under.
int addSoundFont(fluid_synth_t* synth, ReadSoundFont& read);

}  // namespace vantorix
