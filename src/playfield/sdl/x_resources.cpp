#include "playfield/sdl/x_resources.h"

#include <SDL.h>
#include <X11/Xlib.h>

#include <cstring>

#include "playfield/desktop_scale.h"

namespace vantorix {

int xDesktopScale() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "x11") != 0) return 1;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 1;
    const char* resources = XResourceManagerString(display);
    int scale = resources ? scaleFromXResources(resources) : 1;
    XCloseDisplay(display);
    return scale;
}

}  // namespace vantorix
