#pragma once

#include <cstdint>
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

}  // namespace vantorix
