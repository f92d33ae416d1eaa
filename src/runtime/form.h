#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "runtime/clock.h"
#include "runtime/control_array.h"
#include "runtime/event_pump.h"
#include "runtime/field.h"
#include "runtime/form_description.h"
#include "runtime/input.h"
#include "runtime/timer.h"
#include "runtime/window_host.h"

namespace vantorix {

// A window built from its stored description, with the run-time behaviour the
// game relies on: one thread, key and close events in arrival order, timers
// ticking in containment order, a repaint when something changed.
class Form : public EventPump {
public:
    Form(std::span<const StoredControl> description, Clock& clock, InputSource& input,
         WindowHost& host);

    const std::string& caption() const { return caption_; }
    Field& field() { return *field_; }
    const Field& field() const { return *field_; }
    Label& label(const std::string& name) const;
    ControlArray& controlArray(const std::string& name);
    Timer& timer(const std::string& name) const;
    // Timers in containment order: the order their due ticks are delivered in.
    const std::vector<Timer*>& timers() const { return timerOrder_; }

    // The outer size in twips, frame and title bar included.
    void setWidthTwips(int twips);
    void setHeightTwips(int twips);
    int clientWidth() const;
    int clientHeight() const;

    void show();
    // Closes the window, raising onUnload once.
    void unload();
    // Ends the program at once: no further event is handled.
    void end();
    bool ended() const override { return ended_; }

    void waitForWork() override;
    void doEvents() override;
    // Draws the current state now, as before a sound that holds the thread.
    void present();

    std::function<void(std::int16_t keyCode, std::int16_t shift)> onKeyDown;
    std::function<void(std::int16_t keyCode, std::int16_t shift)> onKeyUp;
    std::function<void()> onActivate;
    std::function<void()> onUnload;
    std::function<void()> onEnd;
    // Run before and after each input event and each timer tick is handled, for
    // whoever watches the game's state from outside. A tick is told as a Tick event.
    std::function<void(const InputEvent&)> beforeEvent;
    std::function<void()> afterEvent;

    // From now on the timers tick only when the input source sends their Tick
    // events, as when a recorded game is played back.
    void tickTimersFromInput() { timersFromInput_ = true; }

    // The longest a wait may last, so the music's end is noticed promptly.
    static constexpr std::int64_t kMaxWaitMs = 20;

private:
    void deliver(const InputEvent& event);
    void tickDueTimers();

    Clock& clock_;
    InputSource& input_;
    WindowHost& host_;
    std::string caption_;
    std::unique_ptr<Field> field_;
    std::vector<std::unique_ptr<Timer>> timers_;
    std::vector<Timer*> timerOrder_;
    std::map<std::string, std::unique_ptr<ControlArray>> arrays_;
    int outerWidthTwips_ = 0;
    int outerHeightTwips_ = 0;
    bool shown_ = false;
    bool activated_ = false;
    bool unloaded_ = false;
    bool ended_ = false;
    bool timersFromInput_ = false;
};

}  // namespace vantorix
