#include "platform/window/x_connection.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <poll.h>

namespace vantorix {

XConnection::XConnection(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window && SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11)
        display_ = info.info.x11.display;
}

bool XConnection::eventsQueued() const { return XQLength(display_) > 0; }

bool XConnection::eventsArrived() const { return XEventsQueued(display_, QueuedAfterFlush) > 0; }

bool XConnection::waitReadable(int ms) const {
    pollfd connection{ConnectionNumber(display_), POLLIN, 0};
    return poll(&connection, 1, ms) > 0;
}

}  // namespace vantorix
