#include "platform/window/x_resources.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include "desktop/desktop_scale.h"

namespace vantorix {

int xDesktopScale(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return 1;
    const char* resources = XResourceManagerString(info.info.x11.display);
    return resources ? scaleFromXResources(resources) : 1;
}

}  // namespace vantorix
