#pragma once

#include <memory>
#include <string>

#include "media/sound_font_image.h"
#include "platform/sound/fluid_library.h"

namespace vantorix {

// Settings that read every sample of a SoundFont at once, for the loader of
// our images and for a synthesizer that never sounds a voice.
fluid_settings_t* newEagerSettings(const FluidLibrary& fluid);

// Gives `synth` the loaders our SoundFonts are read with: one for images
// (SoundFontImage), by the name readImage gives them, with `eager` settings,
// and one for files as `whole` settings say. Both settings must outlive the
// synthesizer. A SoundFont keeps a pointer to the loader that read it, which
// FluidSynth frees with the synthesizer: a whole SoundFont reads its samples
// through it as channels choose its presets, long after it was read.
void addSoundFontLoaders(const FluidLibrary& fluid, fluid_synth_t* synth, fluid_settings_t* eager,
                         fluid_settings_t* whole);

// Reads an image, tables and every sample, on a synthesizer with those
// loaders, and takes it off it; null when FluidSynth refuses it. Slow: never
// under a lock the audio thread takes.
fluid_sfont_t* readImage(const FluidLibrary& fluid, fluid_synth_t* synth, std::shared_ptr<const SoundFontImage> image);

// Deletes a SoundFont that is on no synthesizer and whose samples no voice
// plays any more (else FluidSynth leaves it to a timer thread of its own) by
// putting it on `synth` and unloading it there. The loader that read it must
// still be there: it was read on `synth`, or on another one still there.
void unloadSoundFont(const FluidLibrary& fluid, fluid_synth_t* synth, fluid_sfont_t* soundFont);

// SoundFonts read on a synthesizer of their own, which nothing renders, then
// put on the one that plays (fluid_synth_add_sfont) and, once taken off it,
// handed back here to be deleted: the one that plays never waits for a file.
// Those read here must not outlive the reader. Its synthesizer keeps
// FluidSynth's own lock: the reader may be used from several threads.
class SoundFontReader {
public:
    // `eager` and `whole` settings as for addSoundFontLoaders; they must
    // outlive the reader.
    SoundFontReader(const FluidLibrary& fluid, fluid_settings_t* eager, fluid_settings_t* whole);
    ~SoundFontReader();
    SoundFontReader(const SoundFontReader&) = delete;
    SoundFontReader& operator=(const SoundFontReader&) = delete;

    // As readImage.
    fluid_sfont_t* readImage(std::shared_ptr<const SoundFontImage> image);
    // A SoundFont file's tables; its samples are read as channels choose its
    // presets. Null when FluidSynth refuses it.
    fluid_sfont_t* readWhole(const std::string& path);
    // As unloadSoundFont, on the reader's synthesizer.
    void unload(fluid_sfont_t* soundFont);

private:
    const FluidLibrary& fluid_;
    fluid_synth_t* synth_;
};

}  // namespace vantorix
