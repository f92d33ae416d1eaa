#pragma once

#include <functional>

#include "platform/window/sdl_input.h"
#include "platform/window/sdl_window.h"
#include "runtime/pausing_clock.h"

namespace vantorix {

// Pauses a game in play and lets it go on: the game's clock stands still, the
// keys it holds are let go, the sound stops where it is, and the window shows
// that it is paused. Between games nothing pauses.
class Pause {
public:
    // `inPlay` tells whether a game is under way; `hold(true)` stops the
    // sound and `hold(false)` lets it go on.
    Pause(PausingClock& clock, SdlWindow& window, SdlInput& input, std::function<bool()> inPlay,
          std::function<void(bool)> hold);

    // P or a pad's Back.
    void toggle();
    // The window lost or got back the focus; only a pause that losing it
    // brought is ended by getting it back.
    void focusLost();
    void focusGained();
    bool paused() const { return clock_.paused(); }

private:
    void set(bool paused);

    PausingClock& clock_;
    SdlWindow& window_;
    SdlInput& input_;
    std::function<bool()> inPlay_;
    std::function<void(bool)> hold_;
    bool byFocus_ = false;
};

}  // namespace vantorix
