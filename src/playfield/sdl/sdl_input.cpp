#include "playfield/sdl/sdl_input.h"

#include <algorithm>

#include "desktop/key_layout.h"
#include "playfield/key_codes.h"

namespace vantorix {

std::int16_t virtualKey(SDL_Keycode key, SDL_Scancode scancode) {
    switch (key) {
        case SDLK_LEFT: return vbKeyLeft;
        case SDLK_UP: return vbKeyUp;
        case SDLK_RIGHT: return vbKeyRight;
        case SDLK_DOWN: return vbKeyDown;
        default: break;
    }
    // SDL's letter scancodes are the places of a US keyboard's letters, A to Z in order.
    char usLetter = scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z
                        ? static_cast<char>('A' + (scancode - SDL_SCANCODE_A))
                        : 0;
    char32_t typed = (key & SDLK_SCANCODE_MASK) ? 0 : static_cast<char32_t>(key);
    if (auto letter = letterKey(typed, usLetter)) return *letter;
    if (key >= SDLK_0 && key <= SDLK_9) return static_cast<std::int16_t>(key);
    if (key == SDLK_SPACE || key == SDLK_RETURN || key == SDLK_ESCAPE || key == SDLK_TAB)
        return static_cast<std::int16_t>(key);
    // Any other key gets a code of its own beyond the ones the game reads.
    return static_cast<std::int16_t>(0x100 + (scancode & 0xFF));
}

bool isFullscreenKey(SDL_Keycode key, Uint16 modifiers) {
    if (key == SDLK_F11) return true;
    return (key == SDLK_RETURN || key == SDLK_KP_ENTER) && (modifiers & KMOD_ALT);
}

SdlInput::SdlInput(Clock& clock, SdlWindow& window) : clock_(clock), window_(window), pads_(queue_) {}

void SdlInput::waitUntil(std::int64_t deadlineMs) {
    // Gamepads are looked for once the window is up: the first frame need not wait.
    pads_.start();
    pads_.keys().repeat(clock_.nowMs());
    if (!queue_.empty()) return;
    if (auto repeat = pads_.keys().nextRepeatMs()) deadlineMs = std::min(deadlineMs, *repeat);
    // One look at the display per wake-up: waiting reads what the X server has
    // sent, and the rest is taken from SDL's queue without asking it again.
    std::int64_t wait = std::max<std::int64_t>(0, deadlineMs - clock_.nowMs());
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event, static_cast<int>(wait))) {
        handle(event);
        while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) handle(event);
    }
    pads_.keys().repeat(clock_.nowMs());
}

bool SdlInput::takenByWindow(const SDL_KeyboardEvent& key) {
    SDL_Scancode scancode = key.keysym.scancode;
    if (key.type == SDL_KEYUP) return windowKeysDown_.erase(scancode) > 0;
    if (windowKeysDown_.contains(scancode)) return true;  // held: its repeats are the window's too
    if (!isFullscreenKey(key.keysym.sym, key.keysym.mod)) return false;
    windowKeysDown_.insert(scancode);
    window_.toggleFullscreen();
    return true;
}

void SdlInput::handle(const SDL_Event& event) {
    if (pads_.handle(event, clock_.nowMs())) return;
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            if (takenByWindow(event.key)) break;
            InputEvent in;
            in.kind = event.type == SDL_KEYDOWN ? InputEvent::Kind::KeyDown : InputEvent::Kind::KeyUp;
            in.keyCode = virtualKey(event.key.keysym.sym, event.key.keysym.scancode);
            in.shift = static_cast<std::int16_t>(
                ((event.key.keysym.mod & KMOD_SHIFT) ? 1 : 0) |
                ((event.key.keysym.mod & KMOD_CTRL) ? 2 : 0) | ((event.key.keysym.mod & KMOD_ALT) ? 4 : 0));
            queue_.push_back(in);
            break;
        }
        case SDL_QUIT:
            queue_.push_back({InputEvent::Kind::Close});
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
                event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
                window_.repaint();
            break;
        default:
            break;
    }
}

}  // namespace vantorix
