#pragma once

#include <SDL.h>

namespace vantorix {

// The scale an X resource database string asks for through "Xft.dpi", matched
// as Xlib's resource manager matches it for Xft; 1 without the resource.
int scaleFromXResources(const char* resources);

// The scale the X desktop asks for through its Xft.dpi resource, as the
// window's own connection read it; 1 on any other desktop or without the resource.
int xDesktopScale(SDL_Window* window);

}  // namespace vantorix
