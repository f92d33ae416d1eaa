#include "playfield/sdl/sdl_input.h"

#include <algorithm>

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
    // Letters by what the layout types, as the help line names them.
    if (key >= SDLK_a && key <= SDLK_z) return static_cast<std::int16_t>('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9) return static_cast<std::int16_t>(key);
    if (key == SDLK_SPACE || key == SDLK_RETURN || key == SDLK_ESCAPE || key == SDLK_TAB)
        return static_cast<std::int16_t>(key);
    // Any other key gets a code of its own beyond the ones the game reads.
    return static_cast<std::int16_t>(0x100 + (scancode & 0xFF));
}

SdlInput::SdlInput(Clock& clock, SdlWindow& window) : clock_(clock), window_(window) {}

void SdlInput::waitUntil(std::int64_t deadlineMs) {
    if (!queue_.empty()) return;
    // One look at the display per wake-up: waiting reads what the X server has
    // sent, and the rest is taken from SDL's queue without asking it again.
    std::int64_t wait = std::max<std::int64_t>(0, deadlineMs - clock_.nowMs());
    SDL_Event event;
    if (!SDL_WaitEventTimeout(&event, static_cast<int>(wait))) return;
    handle(event);
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) handle(event);
}


void SdlInput::handle(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
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
            if (event.window.event == SDL_WINDOWEVENT_EXPOSED) window_.repaint();
            break;
        default:
            break;
    }
}

}  // namespace vantorix
