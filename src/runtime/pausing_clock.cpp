#include "runtime/pausing_clock.h"

namespace vantorix {

namespace {
constexpr std::int64_t kDayMs = 24 * 60 * 60 * 1000;
}

std::int64_t PausingClock::nowMs() { return real_.nowMs() - behindMs(); }

std::int64_t PausingClock::timeOfDayMs() { return ((real_.timeOfDayMs() - behindMs()) % kDayMs + kDayMs) % kDayMs; }

std::int64_t PausingClock::behindMs() {
    return pausedForMs_ + (paused_ ? real_.nowMs() - pausedAtMs_ : 0);
}

void PausingClock::pause() {
    if (paused_) return;
    paused_ = true;
    pausedAtMs_ = real_.nowMs();
}

void PausingClock::resume() {
    if (!paused_) return;
    pausedForMs_ += real_.nowMs() - pausedAtMs_;
    paused_ = false;
}

}  // namespace vantorix
