#include "audio/sdl/fluid_library.h"

#include <dlfcn.h>

#include <mutex>

namespace vantorix {

namespace {

// The library whose calls fluidsynth.h declares.
constexpr const char* kLibrary = "libfluidsynth.so.3";

template <typename Call>
bool find(void* library, const char* name, Call& call) {
    call = reinterpret_cast<Call>(dlsym(library, name));
    return call != nullptr;
}

bool findAll(void* library, FluidLibrary& f) {
    return find(library, "fluid_set_log_function", f.fluid_set_log_function) &&
           find(library, "new_fluid_settings", f.new_fluid_settings) &&
           find(library, "delete_fluid_settings", f.delete_fluid_settings) &&
           find(library, "fluid_settings_setnum", f.fluid_settings_setnum) &&
           find(library, "fluid_settings_setint", f.fluid_settings_setint) &&
           find(library, "fluid_settings_setstr", f.fluid_settings_setstr) &&
           find(library, "new_fluid_synth", f.new_fluid_synth) &&
           find(library, "delete_fluid_synth", f.delete_fluid_synth) &&
           find(library, "fluid_synth_chorus_on", f.fluid_synth_chorus_on) &&
           find(library, "fluid_synth_set_interp_method", f.fluid_synth_set_interp_method) &&
           find(library, "fluid_synth_sfload", f.fluid_synth_sfload) &&
           find(library, "fluid_synth_sfunload", f.fluid_synth_sfunload) &&
           find(library, "fluid_synth_add_sfloader", f.fluid_synth_add_sfloader) &&
           find(library, "new_fluid_defsfloader", f.new_fluid_defsfloader) &&
           find(library, "fluid_sfloader_set_callbacks", f.fluid_sfloader_set_callbacks) &&
           find(library, "fluid_synth_all_sounds_off", f.fluid_synth_all_sounds_off) &&
           find(library, "fluid_synth_program_reset", f.fluid_synth_program_reset) &&
           find(library, "fluid_synth_write_s16", f.fluid_synth_write_s16) &&
           find(library, "fluid_synth_get_active_voice_count", f.fluid_synth_get_active_voice_count) &&
           find(library, "fluid_synth_set_polyphony", f.fluid_synth_set_polyphony) &&
           find(library, "new_fluid_player", f.new_fluid_player) &&
           find(library, "delete_fluid_player", f.delete_fluid_player) &&
           find(library, "fluid_player_add_mem", f.fluid_player_add_mem) &&
           find(library, "fluid_player_play", f.fluid_player_play) &&
           find(library, "fluid_player_stop", f.fluid_player_stop) &&
           find(library, "fluid_player_seek", f.fluid_player_seek) &&
           find(library, "g_log_set_handler", f.g_log_set_handler);
}

}  // namespace

const FluidLibrary* fluidLibrary(std::string& whyNot) {
    static FluidLibrary library;
    static bool found = false;
    static std::string error;
    static std::once_flag once;
    std::call_once(once, [] {
        void* handle = dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            error = dlerror();
            return;
        }
        found = findAll(handle, library);
        if (!found) error = std::string(kLibrary) + " lacks a call the game uses";
    });
    if (!found) whyNot = error;
    return found ? &library : nullptr;
}

}  // namespace vantorix
