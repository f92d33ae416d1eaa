#include "platform/window/sdl_input.h"

#include <algorithm>

#include "desktop/key_layout.h"
#include "desktop/key_names.h"
#include "runtime/key_codes.h"

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

namespace {
// SDL sees some things only when it looks at the display: a signal to quit
// (the wait ends on one, and SDL looks at once), the screen saver it keeps
// off (every 30 s), and a change of focus that follows a change of video mode,
// which it holds 200 ms before it reports it. So it looks this often while the
// display has lately sent something,
constexpr Uint64 kLookAfterTrafficEveryMs = 100;
constexpr Uint64 kTrafficLastsMs = 1000;
// and at least this often when it has not.
constexpr Uint64 kLookAtLeastEveryMs = 1000;
}  // namespace

SdlInput::SdlInput(Clock& clock, SdlWindow& window)
    : clock_(clock), window_(window), x_(window.sdlWindow()), pads_(queue_) {
    // Gamepads are read when this input asks (SdlPads::update), not on every
    // look at the display.
    SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "0");
    pads_.onBack = [this] {
        if (onPauseKey) onPauseKey();
    };
}

std::optional<InputEvent> SdlInput::take() {
    if (!releases_.empty()) {
        InputEvent up = releases_.front();
        releases_.pop_front();
        return up;
    }
    while (auto event = QueuedInputSource::take()) {
        bool key = event->kind != InputEvent::Kind::Close;
        if (key && paused_) continue;
        held_.note(*event);
        return event;
    }
    return std::nullopt;
}

void SdlInput::setPaused(bool paused) {
    paused_ = paused;
    if (paused)
        for (const InputEvent& up : held_.releaseAll()) releases_.push_back(up);
}

std::optional<std::int16_t> SdlInput::boundKey(std::int16_t code) const {
    for (Action action : kActions)
        if (bindings_[action] == code) return gameKey(action);
    for (Action action : kActions)
        if (gameKey(action) == code) return std::nullopt;
    return code;
}

void SdlInput::waitUntil(std::int64_t deadlineMs) {
    // Gamepads are looked for once the window is up: the first frame need not wait.
    pads_.start();
    pads_.keys().repeat(clock_.nowMs());
    if (!queue_.empty() || !releases_.empty()) return;
    if (auto repeat = pads_.keys().nextRepeatMs()) deadlineMs = std::min(deadlineMs, *repeat);
    SDL_Event event;
    if (x_.open()) {
        waitOnX(deadlineMs);
    } else {
        std::int64_t wait = std::max<std::int64_t>(0, deadlineMs - clock_.nowMs());
        if (SDL_WaitEventTimeout(&event, static_cast<int>(wait))) handle(event);
    }
    pads_.update(clock_.nowMs());
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) handle(event);
    pads_.keys().repeat(clock_.nowMs());
}

void SdlInput::waitOnX(std::int64_t deadlineMs) {
    // Drawing reads the connection while it waits for the server, and what it
    // reads stays with Xlib: SDL looks before the wait, or it would wait on it.
    // A read of our own tells whether anything came; SDL's look costs several.
    bool drawn = window_.frames() != lookedAtFrame_;
    lookedAtFrame_ = window_.frames();
    if (drawn ? x_.eventsArrived() : x_.eventsQueued()) pump(true);
    if (SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) || !releases_.empty()) return;
    auto wait = std::max<std::int64_t>(0, deadlineMs - clock_.nowMs());
    XConnection::Woken woken = x_.waitReadable(static_cast<int>(wait));
    // Real time, not the game's clock, which stands still while it is paused.
    Uint64 now = SDL_GetTicks64();
    Uint64 every = now - sentAtMs_ < kTrafficLastsMs ? kLookAfterTrafficEveryMs : kLookAtLeastEveryMs;
    if (woken != XConnection::Woken::TimedOut || now - pumpedAtMs_ >= every)
        pump(woken == XConnection::Woken::Sent);
}

void SdlInput::pump(bool sent) {
    SDL_PumpEvents();
    pumpedAtMs_ = SDL_GetTicks64();
    if (sent) sentAtMs_ = pumpedAtMs_;
    lookedAtFrame_ = window_.frames();
}

bool SdlInput::takenByWindow(const SDL_KeyboardEvent& key) {
    SDL_Scancode scancode = key.keysym.scancode;
    if (key.type == SDL_KEYUP) return windowKeysDown_.erase(scancode) > 0;
    if (windowKeysDown_.contains(scancode)) return true;  // held: its repeats are the window's too
    std::int16_t code = virtualKey(key.keysym.sym, scancode);
    bool plain = !(key.keysym.mod & (KMOD_CTRL | KMOD_ALT | KMOD_GUI));
    std::function<void()> action;
    if (isFullscreenKey(key.keysym.sym, key.keysym.mod)) {
        action = [this] { window_.toggleFullscreen(); };
    } else if (plain && code == kMusicKey) {
        action = onMusicKey;
    } else if (plain && code == kPauseKey) {
        action = onPauseKey;
    } else {
        return false;
    }
    windowKeysDown_.insert(scancode);
    if (action) action();
    return true;
}

void SdlInput::handle(const SDL_Event& event) {
    if (pads_.handle(event, clock_.nowMs())) return;
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            if (takenByWindow(event.key)) break;
            auto code = boundKey(virtualKey(event.key.keysym.sym, event.key.keysym.scancode));
            if (!code) break;
            InputEvent in;
            in.kind = event.type == SDL_KEYDOWN ? InputEvent::Kind::KeyDown : InputEvent::Kind::KeyUp;
            in.keyCode = *code;
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
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST && onFocusLost) onFocusLost();
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED && onFocusGained) onFocusGained();
            break;
        default:
            break;
    }
}

}  // namespace vantorix
