#pragma once

#include <fluidsynth.h>
#include <glib.h>

#include <string>

namespace vantorix {

// FluidSynth's calls, found at run time instead of linked: the library and the
// dozen it brings (GLib's object system, libinstpatch, JACK, readline, OpenMP...)
// are then mapped only once the music starts, after the first frame.
struct FluidLibrary {
    decltype(&::fluid_set_log_function) fluid_set_log_function;
    decltype(&::new_fluid_settings) new_fluid_settings;
    decltype(&::delete_fluid_settings) delete_fluid_settings;
    decltype(&::fluid_settings_setnum) fluid_settings_setnum;
    decltype(&::fluid_settings_setint) fluid_settings_setint;
    decltype(&::fluid_settings_setstr) fluid_settings_setstr;
    decltype(&::new_fluid_synth) new_fluid_synth;
    decltype(&::delete_fluid_synth) delete_fluid_synth;
    decltype(&::fluid_synth_chorus_on) fluid_synth_chorus_on;
    decltype(&::fluid_synth_set_interp_method) fluid_synth_set_interp_method;
    decltype(&::fluid_synth_sfload) fluid_synth_sfload;
    decltype(&::fluid_synth_sfunload) fluid_synth_sfunload;
    decltype(&::fluid_synth_add_sfont) fluid_synth_add_sfont;
    decltype(&::fluid_synth_remove_sfont) fluid_synth_remove_sfont;
    decltype(&::fluid_synth_get_sfont_by_id) fluid_synth_get_sfont_by_id;
    decltype(&::fluid_synth_add_sfloader) fluid_synth_add_sfloader;
    decltype(&::new_fluid_defsfloader) new_fluid_defsfloader;
    decltype(&::fluid_sfloader_set_callbacks) fluid_sfloader_set_callbacks;
    decltype(&::fluid_synth_all_sounds_off) fluid_synth_all_sounds_off;
    decltype(&::fluid_synth_write_s16) fluid_synth_write_s16;
    decltype(&::fluid_synth_get_active_voice_count) fluid_synth_get_active_voice_count;
    decltype(&::fluid_synth_set_polyphony) fluid_synth_set_polyphony;
    decltype(&::new_fluid_player) new_fluid_player;
    decltype(&::delete_fluid_player) delete_fluid_player;
    decltype(&::fluid_player_add_mem) fluid_player_add_mem;
    decltype(&::fluid_player_play) fluid_player_play;
    decltype(&::fluid_player_stop) fluid_player_stop;
    decltype(&::fluid_player_seek) fluid_player_seek;
    // FluidSynth's DLS loader logs through GLib.
    decltype(&::g_log_set_handler) g_log_set_handler;
};

// Opens FluidSynth on first use and keeps it open; null, and why, when it
// cannot be opened.
const FluidLibrary* fluidLibrary(std::string& whyNot);

// Silences FluidSynth's own logging and its DLS loader's, through GLib: the
// game says once, in its own words, what went wrong.
void quietFluid(const FluidLibrary& fluid);

}  // namespace vantorix
