#pragma once

#include <map>
#include <memory>
#include <string>

#include "audio/sdl/fluid_library.h"
#include "audio/sound_font.h"

namespace vantorix {

// SoundFonts made of pieces (SoundFontImage), handed to one synthesizer through
// a loader of our own: FluidSynth opens them by name as if they were files,
// once to read their tables and again whenever a preset needs its samples.
class FluidSoundFonts {
public:
    FluidSoundFonts(const FluidLibrary& fluid, fluid_settings_t* settings, fluid_synth_t* synth);
    ~FluidSoundFonts();
    FluidSoundFonts(const FluidSoundFonts&) = delete;
    FluidSoundFonts& operator=(const FluidSoundFonts&) = delete;

    // Loads the image, its SoundFont id, or -1 when FluidSynth refuses it. The
    // channels keep their presets until fluid_synth_program_reset.
    int load(std::shared_ptr<const SoundFontImage> image);
    void unload(int id);

private:
    const FluidLibrary& fluid_;
    fluid_synth_t* synth_;
    std::map<int, std::string> names_;  // the name each loaded image goes by
};

}  // namespace vantorix
