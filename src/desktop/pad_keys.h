#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <utility>

#include "runtime/input.h"

namespace vantorix {

// The controls of a gamepad the game listens to.
enum class PadButton { South, East, Start, DpadUp, DpadDown };

// Turns gamepads into the game's keys: the D-pad and the left stick are Up and
// Down, the bottom face button and Start are Z, the right face button is X. A
// key goes down when the first control holds it and up when the last lets go,
// and a held direction repeats as a held key does.
class PadKeys {
public:
    // Key events are appended to `out` as they happen.
    explicit PadKeys(std::deque<InputEvent>& out) : out_(out) {}

    void button(int pad, PadButton button, bool down, std::int64_t nowMs);
    // The left stick's vertical axis, -32768 (up) to 32767 (down). Resting
    // sticks wander a little: only a clear push counts.
    void stickY(int pad, int value, std::int64_t nowMs);
    // A controller that went away lets go of everything it held.
    void unplug(int pad);

    // Sends the repeats that are due by `nowMs`.
    void repeat(std::int64_t nowMs);
    // When the next repeat is due, if any direction is held.
    std::optional<std::int64_t> nextRepeatMs() const;

    // A desktop's usual key repeat.
    static constexpr std::int64_t kRepeatDelayMs = 500;
    static constexpr std::int64_t kRepeatIntervalMs = 30;
    // The stick counts as pushed past half way, and as back at rest inside a
    // quarter: between the two it keeps what it was, so it cannot chatter.
    static constexpr int kStickPush = 16384;
    static constexpr int kStickRest = 8192;

private:
    // One control of one pad that can hold a key.
    using Holder = std::pair<int, int>;

    void hold(std::int16_t key, Holder holder, std::int64_t nowMs);
    void letGo(std::int16_t key, Holder holder);

    std::deque<InputEvent>& out_;
    std::map<std::int16_t, std::set<Holder>> holders_;
    std::map<std::int16_t, std::int64_t> repeatAt_;  // held directions only
    std::map<int, std::int16_t> stickKey_;           // per pad, the key its stick holds
};

}  // namespace vantorix
