#include "desktop/window_choice.h"

#include <algorithm>

namespace vantorix {

WindowSettings startingWindow(const Options& options, const WindowSettings& remembered,
                              int desktopScale) {
    WindowSettings chosen;
    chosen.scale = std::max(1, options.scale.value_or(remembered.scale.value_or(desktopScale)));
    chosen.fullscreen = options.fullscreen.value_or(remembered.fullscreen);
    return chosen;
}

}  // namespace vantorix
