#include "platform/sound/fluid_library.h"

#include "platform/dynamic_library.h"

namespace vantorix {

namespace {

bool findAll(DynamicLibrary& library, FluidLibrary& f) {
    return library.find("fluid_set_log_function", f.fluid_set_log_function) &&
           library.find("new_fluid_settings", f.new_fluid_settings) &&
           library.find("delete_fluid_settings", f.delete_fluid_settings) &&
           library.find("fluid_settings_setnum", f.fluid_settings_setnum) &&
           library.find("fluid_settings_setint", f.fluid_settings_setint) &&
           library.find("fluid_settings_setstr", f.fluid_settings_setstr) &&
           library.find("new_fluid_synth", f.new_fluid_synth) &&
           library.find("delete_fluid_synth", f.delete_fluid_synth) &&
           library.find("fluid_synth_chorus_on", f.fluid_synth_chorus_on) &&
           library.find("fluid_synth_set_interp_method", f.fluid_synth_set_interp_method) &&
           library.find("fluid_synth_sfload", f.fluid_synth_sfload) &&
           library.find("fluid_synth_sfunload", f.fluid_synth_sfunload) &&
           library.find("fluid_synth_add_sfont", f.fluid_synth_add_sfont) &&
           library.find("fluid_synth_remove_sfont", f.fluid_synth_remove_sfont) &&
           library.find("fluid_synth_get_sfont_by_id", f.fluid_synth_get_sfont_by_id) &&
           library.find("fluid_synth_add_sfloader", f.fluid_synth_add_sfloader) &&
           library.find("new_fluid_defsfloader", f.new_fluid_defsfloader) &&
           library.find("fluid_sfloader_set_callbacks", f.fluid_sfloader_set_callbacks) &&
           library.find("fluid_synth_all_sounds_off", f.fluid_synth_all_sounds_off) &&
           library.find("fluid_synth_write_s16", f.fluid_synth_write_s16) &&
           library.find("fluid_synth_get_active_voice_count", f.fluid_synth_get_active_voice_count) &&
           library.find("fluid_synth_set_polyphony", f.fluid_synth_set_polyphony) &&
           library.find("new_fluid_player", f.new_fluid_player) &&
           library.find("delete_fluid_player", f.delete_fluid_player) &&
           library.find("fluid_player_add_mem", f.fluid_player_add_mem) &&
           library.find("fluid_player_play", f.fluid_player_play) &&
           library.find("fluid_player_stop", f.fluid_player_stop) &&
           library.find("fluid_player_seek", f.fluid_player_seek) &&
           library.find("g_log_set_handler", f.g_log_set_handler);
}

}  // namespace

const FluidLibrary* fluidLibrary(std::string& whyNot) {
    static FluidLibrary calls;
    static std::string error;
    static const bool found = [] {
        DynamicLibrary library("libfluidsynth.so.3");
        bool all = findAll(library, calls);
        error = library.error();
        return all;
    }();
    if (!found) whyNot = error;
    return found ? &calls : nullptr;
}

void quietFluid(const FluidLibrary& fluid) {
    for (int level : {FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) fluid.fluid_set_log_function(level, nullptr, nullptr);
    fluid.g_log_set_handler(nullptr, static_cast<GLogLevelFlags>(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING),
                            [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {}, nullptr);
}

}  // namespace vantorix
