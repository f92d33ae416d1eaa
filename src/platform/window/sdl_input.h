#pragma once

#include <SDL.h>

#include <set>

#include "platform/window/sdl_pads.h"
#include "platform/window/sdl_window.h"
#include "platform/window/x_connection.h"
#include "runtime/clock.h"
#include "runtime/input.h"

namespace vantorix {

// Keys, gamepads and the close command from SDL, as virtual-key codes in arrival
// order. Auto-repeated key-downs come through like any other; when the window
// loses the focus, SDL releases the keys that were held. The window's own keys
// (Alt+Enter and F11, full screen on and off) are taken here and never queued.
class SdlInput : public QueuedInputSource {
public:
    SdlInput(Clock& clock, SdlWindow& window);

    void waitUntil(std::int64_t deadlineMs) override;

private:
    // Sleeps until there is input or the deadline, looking at the display
    // only when it has sent something, was drawn on, or a while has passed.
    void waitOnX(std::int64_t deadlineMs);
    void pump();
    void handle(const SDL_Event& event);
    // True when the key belongs to the window, not the game.
    bool takenByWindow(const SDL_KeyboardEvent& key);

    Clock& clock_;
    SdlWindow& window_;
    XConnection x_;
    SdlPads pads_;
    std::int64_t pumpedAtMs_ = 0;
    std::uint64_t pumpedAtFrame_ = 0;
    std::set<SDL_Scancode> windowKeysDown_;
};

// The virtual-key code of an SDL key.
std::int16_t virtualKey(SDL_Keycode key, SDL_Scancode scancode);

// Alt+Enter and F11.
bool isFullscreenKey(SDL_Keycode key, Uint16 modifiers);

}  // namespace vantorix
