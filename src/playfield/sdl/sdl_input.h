#pragma once

#include <SDL.h>


#include "playfield/clock.h"
#include "playfield/input.h"
#include "playfield/sdl/sdl_window.h"

namespace vantorix {

// Keys and the close command from SDL, as virtual-key codes in arrival order.
// Auto-repeated key-downs come through like any other; when the window loses the
// focus, SDL releases the keys that were held.
class SdlInput : public QueuedInputSource {
public:
    SdlInput(Clock& clock, SdlWindow& window);

    void waitUntil(std::int64_t deadlineMs) override;

private:
    void handle(const SDL_Event& event);

    Clock& clock_;
    SdlWindow& window_;
};

// The virtual-key code of an SDL key.
std::int16_t virtualKey(SDL_Keycode key, SDL_Scancode scancode);

}  // namespace vantorix
