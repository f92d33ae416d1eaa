#pragma once

#include <SDL.h>

struct _XDisplay;

namespace vantorix {

// The X connection an SDL window lives on, looked at without reading from it:
// each SDL look at the display reads the connection a few times over and polls
// the gamepads, ten times the cost of one poll() when nothing has come.
class XConnection {
public:
    // Not open unless the window is on X11.
    explicit XConnection(SDL_Window* window);

    bool open() const { return display_ != nullptr; }
    // Xlib holds events it has read and not handed on. No lock is taken: only
    // the thread that waits here talks to the display.
    bool eventsQueued() const;
    // Sends what Xlib holds for the server, then tells whether events have
    // come since SDL last looked: held by Xlib, read with a reply while
    // drawing, or waiting in the socket. One read when none have.
    bool eventsArrived() const;
    // Sleeps until the server sends something or `ms` pass; true when it has.
    bool waitReadable(int ms) const;

private:
    _XDisplay* display_ = nullptr;
};

}  // namespace vantorix
