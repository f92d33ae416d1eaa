#include "platform/window/x_resources.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xresource.h>

#include <cstdlib>

#include "desktop/desktop_scale.h"

namespace vantorix {

int scaleFromXResources(const char* resources) {
    XrmInitialize();
    XrmDatabase database = XrmGetStringDatabase(resources);
    char* type = nullptr;
    XrmValue value{};
    int scale = 1;
    // A value that is no number reads as 0, which scaleForDpi takes as 1.
    if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value))
        scale = scaleForDpi(std::strtod(value.addr, nullptr));
    XrmDestroyDatabase(database);
    return scale;
}

int xDesktopScale(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return 1;
    const char* resources = XResourceManagerString(info.info.x11.display);
    return resources ? scaleFromXResources(resources) : 1;
}

}  // namespace vantorix
