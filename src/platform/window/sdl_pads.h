#pragma once

#include <SDL.h>

#include <deque>
#include <functional>
#include <map>

#include "desktop/pad_keys.h"

namespace vantorix {

// Gamepads through SDL's game-controller database, plugged in before or during
// the game, turned into the game's key presses and releases.
class SdlPads {
public:
    explicit SdlPads(std::deque<InputEvent>& out) : keys_(out) {}
    ~SdlPads();
    SdlPads(const SdlPads&) = delete;
    SdlPads& operator=(const SdlPads&) = delete;

    // Starts listening; the controllers already there then arrive as events.
    void start();
    // Reads the controllers, as SDL does not on its own: every time while one
    // is plugged in, now and then to notice one plugged in.
    void update(std::int64_t nowMs);
    // Takes a controller event; false for any other event.
    bool handle(const SDL_Event& event, std::int64_t nowMs);
    PadKeys& keys() { return keys_; }
    // A pad's Back (or Select) button belongs to the window: it pauses.
    std::function<void()> onBack;

private:
    PadKeys keys_;
    bool tried_ = false;
    bool started_ = false;
    std::int64_t updatedAtMs_ = 0;
    std::map<SDL_JoystickID, SDL_GameController*> open_;
};

}  // namespace vantorix
