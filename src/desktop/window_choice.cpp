#include "desktop/window_choice.h"

#include <algorithm>

namespace vantorix {

WindowSettings startingWindow(const Options& options, const WindowSettings& remembered,
                              int desktopScale, int roomyScale) {
    WindowSettings chosen;
    int fallback = std::max(desktopScale, roomyScale);
    chosen.scale = std::max(1, options.scale.value_or(remembered.scale.value_or(fallback)));
    chosen.fullscreen = options.fullscreen.value_or(remembered.fullscreen);
    return chosen;
}

Settings settingsForThisRun(const Options& options, const Settings& remembered) {
    Settings chosen = remembered;
    chosen.musicVolume = options.musicVolume.value_or(remembered.musicVolume);
    chosen.effectsVolume = options.effectsVolume.value_or(remembered.effectsVolume);
    chosen.flash = options.flash.value_or(remembered.flash);
    return chosen;
}

}  // namespace vantorix
