#pragma once

#include <cstdint>
#include <deque>
#include <optional>

namespace vantorix {

struct InputEvent {
    enum class Kind { KeyDown, KeyUp, Close };
    Kind kind = Kind::KeyDown;
    std::int16_t keyCode = 0;  // a virtual-key code
    std::int16_t shift = 0;
};

// Where keys and the close command come from, in arrival order.
class InputSource {
public:
    virtual ~InputSource() = default;
    // Returns when input is waiting or the clock reaches `deadlineMs`, whichever is first.
    virtual void waitUntil(std::int64_t deadlineMs) = 0;
    virtual std::optional<InputEvent> take() = 0;
};

// A source that hands out what it has queued, oldest first.
class QueuedInputSource : public InputSource {
public:
    std::optional<InputEvent> take() override {
        if (queue_.empty()) return std::nullopt;
        InputEvent event = queue_.front();
        queue_.pop_front();
        return event;
    }

protected:
    std::deque<InputEvent> queue_;
};

}  // namespace vantorix
