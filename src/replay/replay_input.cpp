#include "replay/replay_input.h"

#include <algorithm>

namespace vantorix {

ReplayInput::ReplayInput(const Replay& replay, InputSource& player, Clock& clock, std::int16_t quitKey)
    : replay_(replay), player_(player), clock_(clock), quitKey_(quitKey) {}

std::int64_t ReplayInput::startMs() {
    // The game starts when the showing does, however long the window took to come up.
    if (!startMs_) startMs_ = clock_.nowMs();
    return *startMs_;
}

std::int64_t ReplayInput::nextDueMs() {
    if (next_ < replay_.events.size()) return startMs() + replay_.events[next_].atMs;
    std::int64_t last = replay_.events.empty() ? 0 : replay_.events.back().atMs;
    return startMs() + last + kLastScreenMs;
}

void ReplayInput::waitUntil(std::int64_t deadlineMs) {
    player_.waitUntil(over_ ? deadlineMs : std::min(deadlineMs, nextDueMs()));
}

std::optional<InputEvent> ReplayInput::take() {
    while (auto event = player_.take()) {
        bool quit = event->kind == InputEvent::Kind::Close ||
                    (event->kind == InputEvent::Kind::KeyDown && event->keyCode == quitKey_);
        if (quit && !over_) {
            over_ = true;
            return InputEvent{InputEvent::Kind::Close};
        }
    }
    if (over_ || clock_.nowMs() < nextDueMs()) return std::nullopt;
    if (next_ < replay_.events.size()) return replay_.events[next_++].event;
    over_ = true;
    return InputEvent{InputEvent::Kind::Close};
}

}  // namespace vantorix
