#include "platform/window/x_connection.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <cerrno>

namespace vantorix {

XConnection::XConnection(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window && SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11)
        display_ = info.info.x11.display;
    if (!display_) return;
    sigset_t quit;
    sigemptyset(&quit);
    sigaddset(&quit, SIGINT);
    sigaddset(&quit, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &quit, &before_);
    inWait_ = before_;
    sigdelset(&inWait_, SIGINT);
    sigdelset(&inWait_, SIGTERM);
}

XConnection::~XConnection() {
    // What came meanwhile is handled here, by SDL's handlers, as before.
    if (display_) pthread_sigmask(SIG_SETMASK, &before_, nullptr);
}

bool XConnection::eventsQueued() const { return XQLength(display_) > 0; }

bool XConnection::eventsArrived() const { return XEventsQueued(display_, QueuedAfterFlush) > 0; }

XConnection::Woken XConnection::waitReadable(int ms) const {
    pollfd connection{ConnectionNumber(display_), POLLIN, 0};
    timespec timeout{ms / 1000, ms % 1000 * 1'000'000L};
    int ready = ppoll(&connection, 1, &timeout, &inWait_);
    if (ready > 0) return Woken::Sent;
    return ready < 0 && errno == EINTR ? Woken::Interrupted : Woken::TimedOut;
}

}  // namespace vantorix
