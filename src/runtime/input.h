#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <set>
#include <vector>

namespace vantorix {

struct InputEvent {
    // Tick is a timer's tick, for sources that replay what a form once dispatched.
    enum class Kind { KeyDown, KeyUp, Close, Tick };
    Kind kind = Kind::KeyDown;
    std::int16_t keyCode = 0;  // a virtual-key code
    std::int16_t shift = 0;
    std::uint8_t timer = 0;  // a Tick's timer, by its place in the containment order
    bool operator==(const InputEvent&) const = default;
};

// Where keys and the close command come from, in arrival order.
class InputSource {
public:
    virtual ~InputSource() = default;
    // Returns when input is waiting or the clock reaches `deadlineMs`, whichever is first.
    virtual void waitUntil(std::int64_t deadlineMs) = 0;
    virtual std::optional<InputEvent> take() = 0;
};

// The keys an input source has sent down and not yet up, so that they can be
// let go all at once (when the game is paused, say).
class HeldKeys {
public:
    void note(const InputEvent& event) {
        if (event.kind == InputEvent::Kind::KeyDown) held_.insert(event.keyCode);
        if (event.kind == InputEvent::Kind::KeyUp) held_.erase(event.keyCode);
    }
    // A key-up for each held key, lowest code first; none are held after.
    std::vector<InputEvent> releaseAll() {
        std::vector<InputEvent> ups;
        for (std::int16_t key : held_) ups.push_back({InputEvent::Kind::KeyUp, key});
        held_.clear();
        return ups;
    }

private:
    std::set<std::int16_t> held_;
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
