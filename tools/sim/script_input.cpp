#include "script_input.h"

#include <algorithm>
#include <limits>

namespace vantorix::sim {

namespace {

InputEvent eventOf(const Command& c) {
    switch (c.kind) {
        case Command::Kind::Down: return {InputEvent::Kind::KeyDown, c.key};
        case Command::Kind::Up: return {InputEvent::Kind::KeyUp, c.key};
        default: return {InputEvent::Kind::Close};
    }
}

bool isInput(const Command& c) {
    return c.kind == Command::Kind::Down || c.kind == Command::Kind::Up || c.kind == Command::Kind::Close ||
           c.kind == Command::Kind::Pause || c.kind == Command::Kind::Resume;
}

}  // namespace

ScriptInput::ScriptInput(ScriptClock& clock, PausingClock& gameClock, ScriptReader& reader,
                         std::function<void(const Command&)> onOutput,
                         std::function<void()> onScriptEnd)
    : clock_(clock),
      gameClock_(gameClock),
      reader_(reader),
      onOutput_(std::move(onOutput)),
      onScriptEnd_(std::move(onScriptEnd)) {}

void ScriptInput::pauseOrResume(const Command& c) {
    if (c.kind == Command::Kind::Resume) {
        gameClock_.resume();
        return;
    }
    gameClock_.pause();
    for (const InputEvent& up : held_.releaseAll()) queue_.push_back(up);
}

void ScriptInput::waitUntil(std::int64_t gameDeadlineMs) {
    // The game's deadline on the script's clock; none while the game stands still.
    auto deadline = [&] {
        return gameClock_.paused() ? std::numeric_limits<std::int64_t>::max()
                                   : gameDeadlineMs + gameClock_.behindMs();
    };
    for (;;) {
        const Command* next = reader_.peek();
        if (!next) {
            if (queue_.empty()) onScriptEnd_();
            return;
        }
        std::int64_t at = std::max(next->at, clock_.nowMs());
        if (isInput(*next)) {
            // Input that came while the thread was held is handled at once;
            // later input waits for its moment, unless a deadline comes first.
            bool arrived = next->at <= clock_.nowMs();
            if (!arrived && (!queue_.empty() || at > deadline())) break;
            clock_.advanceTo(at);
            Command c = *next;
            reader_.pop();
            if (c.kind == Command::Kind::Pause || c.kind == Command::Kind::Resume) {
                pauseOrResume(c);
                if (!queue_.empty()) return;
                continue;
            }
            queue_.push_back(eventOf(c));
            held_.note(queue_.back());
            continue;
        }
        // Output waits for the input before it and for the ticks of its own moment.
        if (!queue_.empty() || at >= deadline()) break;
        clock_.advanceTo(at);
        Command output = *next;
        reader_.pop();
        onOutput_(output);
    }
    if (queue_.empty()) clock_.advanceTo(deadline());
}

}  // namespace vantorix::sim
