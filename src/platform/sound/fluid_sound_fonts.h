#pragma once

#include <memory>
#include <string>

#include "media/sound_font_image.h"
#include "platform/sound/fluid_library.h"

namespace vantorix {

// SoundFonts read on a synthesizer of their own, which nothing renders, then
// put on the one that plays (fluid_synth_add_sfont) and, once taken off it,
// handed back here to be deleted: the one that plays never waits for a file.
//
// A SoundFont keeps a pointer to the loader that read it, which FluidSynth
// frees with the synthesizer that holds the loader: here, with the reader. A
// whole SoundFont reads its samples through that loader as channels choose its
// presets, long after it was read, so the reader must outlive every
// synthesizer its SoundFonts are put on. Its synthesizer keeps FluidSynth's own
// lock: the reader may be used from several threads.
class SoundFontReader {
public:
    // `wholeSettings` (the playing synthesizer's) say how whole SoundFonts are
    // read; they must outlive the reader.
    SoundFontReader(const FluidLibrary& fluid, fluid_settings_t* wholeSettings);
    ~SoundFontReader();
    SoundFontReader(const SoundFontReader&) = delete;
    SoundFontReader& operator=(const SoundFontReader&) = delete;

    // An image (SoundFontImage), tables and every sample; null when FluidSynth
    // refuses it. Slow: never under a lock the audio thread takes.
    fluid_sfont_t* readImage(std::shared_ptr<const SoundFontImage> image);
    // A SoundFont file's tables; its samples are read as channels choose its
    // presets. Null when FluidSynth refuses it.
    fluid_sfont_t* readWhole(const std::string& path);
    // Deletes a SoundFont read here and taken off every synthesizer, once no
    // voice plays its samples any more: else FluidSynth leaves it to a timer
    // thread of its own.
    void unload(fluid_sfont_t* soundFont);

private:
    fluid_sfont_t* take(int id);

    const FluidLibrary& fluid_;
    fluid_settings_t* eager_;  // every sample read at once
    fluid_synth_t* synth_;
};

}  // namespace vantorix
