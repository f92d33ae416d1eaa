#pragma once

#include <fluidsynth.h>
#include <glib.h>

#include <string>

#include "platform/dynamic_library.h"

// FluidSynth's calls, found at run time instead of linked: the library and the
// dozen it brings (GLib's object system, libinstpatch, JACK, readline, OpenMP...)
// are then mapped only once the music starts, after the first frame.
#define VANTORIX_FLUID_CALLS(X)                      \
    X(fluid_set_log_function)                        \
    X(new_fluid_settings)                            \
    X(delete_fluid_settings)                         \
    X(fluid_settings_setnum)                         \
    X(fluid_settings_setint)                         \
    X(fluid_settings_setstr)                         \
    X(new_fluid_synth)                               \
    X(delete_fluid_synth)                            \
    X(fluid_synth_chorus_on)                         \
    X(fluid_synth_set_interp_method)                 \
    X(fluid_synth_sfload)                            \
    X(fluid_synth_sfunload)                          \
    X(fluid_synth_add_sfont)                         \
    X(fluid_synth_remove_sfont)                      \
    X(fluid_synth_get_sfont_by_id)                   \
    X(fluid_synth_add_sfloader)                      \
    X(new_fluid_defsfloader)                         \
    X(fluid_sfloader_set_callbacks)                  \
    X(fluid_synth_all_sounds_off)                    \
    X(fluid_synth_write_s16)                         \
    X(fluid_synth_get_active_voice_count)            \
    X(fluid_synth_set_polyphony)                     \
    X(new_fluid_player)                              \
    X(delete_fluid_player)                           \
    X(fluid_player_add_mem)                          \
    X(fluid_player_play)                             \
    X(fluid_player_stop)                             \
    X(fluid_player_seek)                             \
    /* FluidSynth's DLS loader logs through GLib. */ \
    X(g_log_set_handler)

namespace vantorix {

struct FluidLibrary {
    VANTORIX_LIBRARY_CALLS(VANTORIX_FLUID_CALLS)
};

// Opens FluidSynth on first use and keeps it open; null, and why, when it
// cannot be opened.
const FluidLibrary* fluidLibrary(std::string& whyNot);

// Silences FluidSynth's own logging and its DLS loader's, through GLib: the
// game says once, in its own words, what went wrong.
void quietFluid(const FluidLibrary& fluid);

}  // namespace vantorix
