#pragma once

#include <SDL.h>
#include <signal.h>

struct _XDisplay;

namespace vantorix {

// The X connection an SDL window lives on, looked at without reading from it:
// each SDL look at the display reads the connection a few times over and polls
// the gamepads, ten times the cost of one poll() when nothing has come.
class XConnection {
public:
    // Not open unless the window is on X11. While open, the signals SDL turns
    // into a quit (SIGINT, SIGTERM) reach this thread only inside the wait, so
    // that one always ends it instead of landing between two.
    explicit XConnection(SDL_Window* window);
    ~XConnection();
    XConnection(const XConnection&) = delete;
    XConnection& operator=(const XConnection&) = delete;

    bool open() const { return display_ != nullptr; }
    // Xlib holds events it has read and not handed on. No lock is taken: only
    // the thread that waits here talks to the display.
    bool eventsQueued() const;
    // Sends what Xlib holds for the server, then tells whether events have
    // come since SDL last looked: held by Xlib, read with a reply while
    // drawing, or waiting in the socket. One read when none have.
    bool eventsArrived() const;
    enum class Woken { Sent, TimedOut, Interrupted };
    // Sleeps until the server sends something, `ms` pass or a signal comes.
    Woken waitReadable(int ms) const;

private:
    _XDisplay* display_ = nullptr;
    sigset_t before_{};  // this thread's signal mask before
    sigset_t inWait_{};  // and inside the wait
};

}  // namespace vantorix
