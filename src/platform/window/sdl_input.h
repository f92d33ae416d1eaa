#pragma once

#include <SDL.h>

#include <functional>
#include <set>

#include "desktop/settings.h"
#include "platform/window/sdl_pads.h"
#include "platform/window/sdl_window.h"
#include "platform/window/x_connection.h"
#include "runtime/clock.h"
#include "runtime/input.h"

namespace vantorix {

// Keys, gamepads and the close command from SDL, as virtual-key codes in arrival
// order. Auto-repeated key-downs come through like any other; when the window
// loses the focus, SDL releases the keys that were held. The window's own keys
// (Alt+Enter and F11, full screen on and off; M, the music; P and a pad's Back,
// pause) are taken here and never queued. The player's bindings choose which
// keys send the game's Z, X, Up and Down.
class SdlInput : public QueuedInputSource {
public:
    SdlInput(Clock& clock, SdlWindow& window);

    void waitUntil(std::int64_t deadlineMs) override;
    std::optional<InputEvent> take() override;

    void setBindings(const KeyBindings& bindings) { bindings_ = bindings; }
    // What the window's keys and the loss of its focus do.
    std::function<void()> onMusicKey;
    std::function<void()> onPauseKey;
    std::function<void()> onFocusLost;
    std::function<void()> onFocusGained;
    // While paused the game hears no key; pausing lets go of the keys it holds.
    void setPaused(bool paused);

private:
    // Sleeps until there is input or the deadline, looking at the display
    // only when it has sent something, was drawn on, a signal came, or a
    // while has passed.
    void waitOnX(std::int64_t deadlineMs);
    // SDL's look at the display; `sent` when the display has sent something.
    void pump(bool sent);
    void handle(const SDL_Event& event);
    // True when the key belongs to the window, not the game.
    bool takenByWindow(const SDL_KeyboardEvent& key);

    // The game's key for a key pressed, as the bindings have it; nothing for one
    // of the game's keys that was bound away.
    std::optional<std::int16_t> boundKey(std::int16_t code) const;

    Clock& clock_;
    SdlWindow& window_;
    KeyBindings bindings_;
    HeldKeys held_;
    std::deque<InputEvent> releases_;
    bool paused_ = false;
    XConnection x_;
    SdlPads pads_;
    Uint64 pumpedAtMs_ = 0;  // SDL_GetTicks64() at SDL's last look
    Uint64 sentAtMs_ = 0;    // and at the last look for something the display sent
    std::uint64_t lookedAtFrame_ = 0;  // the frames drawn when the display was last looked at
    std::set<SDL_Scancode> windowKeysDown_;
};

// The virtual-key code of an SDL key.
std::int16_t virtualKey(SDL_Keycode key, SDL_Scancode scancode);

// Alt+Enter and F11.
bool isFullscreenKey(SDL_Keycode key, Uint16 modifiers);

}  // namespace vantorix
