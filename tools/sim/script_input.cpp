#include "script_input.h"

#include <algorithm>

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
    return c.kind == Command::Kind::Down || c.kind == Command::Kind::Up ||
           c.kind == Command::Kind::Close;
}

}  // namespace

ScriptInput::ScriptInput(ScriptClock& clock, ScriptReader& reader,
                         std::function<void(const Command&)> onOutput,
                         std::function<void()> onScriptEnd)
    : clock_(clock),
      reader_(reader),
      onOutput_(std::move(onOutput)),
      onScriptEnd_(std::move(onScriptEnd)) {}

void ScriptInput::waitUntil(std::int64_t deadlineMs) {
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
            if (!arrived && (!queue_.empty() || at > deadlineMs)) break;
            clock_.advanceTo(at);
            queue_.push_back(eventOf(*next));
            reader_.pop();
            continue;
        }
        // Output waits for the input before it and for the ticks of its own moment.
        if (!queue_.empty() || at >= deadlineMs) break;
        clock_.advanceTo(at);
        Command output = *next;
        reader_.pop();
        onOutput_(output);
    }
    if (queue_.empty()) clock_.advanceTo(deadlineMs);
}


}  // namespace vantorix::sim
