#pragma once

#include <deque>
#include <vector>

#include "runtime/clock.h"
#include "runtime/input.h"
#include "runtime/window_host.h"

namespace vantorix::testing {

class ManualClock : public Clock {
public:
    std::int64_t nowMs() override { return now; }
    std::int64_t timeOfDayMs() override { return 12 * 3600 * 1000 + now; }
    std::int64_t now = 0;
};

// Input queued by the test; waiting jumps the clock to the deadline.
class QueuedInput : public InputSource {
public:
    explicit QueuedInput(ManualClock& clock) : clock_(clock) {}
    void waitUntil(std::int64_t deadlineMs) override {
        if (events.empty() && deadlineMs > clock_.now) clock_.now = deadlineMs;
    }
    std::optional<InputEvent> take() override {
        if (events.empty()) return std::nullopt;
        InputEvent e = events.front();
        events.pop_front();
        return e;
    }
    std::deque<InputEvent> events;

private:
    ManualClock& clock_;
};

class CountingHost : public WindowHost {
public:
    void setClientSize(int w, int h) override {
        width = w;
        height = h;
    }
    void show() override {
        shown = true;
        presentsWhenShown = presents;
    }
    void hide() override { shown = false; }
    void present(const Field&) override { ++presents; }
    int width = 0, height = 0, presents = 0, presentsWhenShown = 0;
    bool shown = false;
};

}  // namespace vantorix::testing
