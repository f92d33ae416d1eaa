#include "platform/window/sdl_pads.h"

#include <optional>

namespace vantorix {

namespace {

// How soon a controller plugged in is noticed: at once to a player reaching
// for it, and each look costs the idle loop a few system calls.
constexpr std::int64_t kLookForPadsEveryMs = 500;

std::optional<PadButton> padButton(Uint8 button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_A: return PadButton::South;
        case SDL_CONTROLLER_BUTTON_B: return PadButton::East;
        case SDL_CONTROLLER_BUTTON_START: return PadButton::Start;
        case SDL_CONTROLLER_BUTTON_DPAD_UP: return PadButton::DpadUp;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return PadButton::DpadDown;
        default: return std::nullopt;
    }
}

}  // namespace

SdlPads::~SdlPads() {
    for (auto& [id, controller] : open_) SDL_GameControllerClose(controller);
    if (started_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void SdlPads::start() {
    if (tried_) return;
    tried_ = true;
    // Buttons by where they sit, not by what is printed on them: the bottom one
    // is Z on every make of pad.
    SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
    started_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
}

void SdlPads::update(std::int64_t nowMs) {
    if (!started_ || (open_.empty() && nowMs - updatedAtMs_ < kLookForPadsEveryMs)) return;
    SDL_GameControllerUpdate();
    updatedAtMs_ = nowMs;
}

bool SdlPads::handle(const SDL_Event& event, std::int64_t nowMs) {
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED: {
            SDL_GameController* controller = SDL_GameControllerOpen(event.cdevice.which);
            if (!controller) return true;
            SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
            if (!open_.emplace(id, controller).second) SDL_GameControllerClose(controller);
            return true;
        }
        case SDL_CONTROLLERDEVICEREMOVED: {
            keys_.unplug(event.cdevice.which);
            auto found = open_.find(event.cdevice.which);
            if (found != open_.end()) {
                SDL_GameControllerClose(found->second);
                open_.erase(found);
            }
            return true;
        }
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            if (event.cbutton.button == SDL_CONTROLLER_BUTTON_BACK) {
                if (event.type == SDL_CONTROLLERBUTTONDOWN && onBack) onBack();
                return true;
            }
            if (auto button = padButton(event.cbutton.button))
                keys_.button(event.cbutton.which, *button, event.type == SDL_CONTROLLERBUTTONDOWN, nowMs);
            return true;
        case SDL_CONTROLLERAXISMOTION:
            if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY)
                keys_.stickY(event.caxis.which, event.caxis.value, nowMs);
            return true;
        default:
            return false;
    }
}

}  // namespace vantorix
