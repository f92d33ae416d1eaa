#include "platform/sound/fluid_library.h"

namespace vantorix {

const FluidLibrary* fluidLibrary(std::string& whyNot) { return openedOnce<FluidLibrary>("libfluidsynth.so.3", whyNot); }

void quietFluid(const FluidLibrary& fluid) {
    for (int level : {FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) fluid.fluid_set_log_function(level, nullptr, nullptr);
    fluid.g_log_set_handler(nullptr, static_cast<GLogLevelFlags>(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING),
                            [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {}, nullptr);
}

}  // namespace vantorix
