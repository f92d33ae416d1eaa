#pragma once

namespace vantorix {

// What a long-running loop needs from the window to keep it alive: wait for
// something to do, let pending events run, and learn when the program is over.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void waitForWork() = 0;
    virtual void doEvents() = 0;
    virtual bool ended() const = 0;
};

}  // namespace vantorix
