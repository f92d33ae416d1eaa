#include "platform/window/pause.h"

namespace vantorix {

Pause::Pause(PausingClock& clock, SdlWindow& window, SdlInput& input, std::function<bool()> inPlay,
             std::function<void(bool)> hold)
    : clock_(clock), window_(window), input_(input), inPlay_(std::move(inPlay)), hold_(std::move(hold)) {}

void Pause::toggle() {
    byFocus_ = false;
    set(!paused());
}

void Pause::focusLost() {
    if (paused() || !inPlay_()) return;
    byFocus_ = true;
    set(true);
}

void Pause::focusGained() {
    if (!byFocus_) return;
    byFocus_ = false;
    set(false);
}

void Pause::set(bool paused) {
    if (paused == this->paused() || (paused && !inPlay_())) return;
    if (paused) {
        clock_.pause();
    } else {
        clock_.resume();
    }
    input_.setPaused(paused);
    if (hold_) hold_(paused);
    window_.setPaused(paused);
}

}  // namespace vantorix
