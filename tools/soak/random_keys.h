#pragma once

#include <array>
#include <functional>
#include <random>

#include "runtime/input.h"
#include "script_clock.h"

namespace vantorix::soak {

// A restless player: presses and releases Z, X, Up and Down at random moments,
// with the keyboard's auto-repeat while a key is held. Now and then it plays
// with aim, taking the key `aim` suggests, so some games reach the mission's end.
// X is let go between games, so the run goes on instead of quitting.
class RandomKeys : public QueuedInputSource {
public:
    // `aim` names the key that would help most now, or 0.
    RandomKeys(sim::ScriptClock& clock, std::uint32_t seed, std::function<bool()> playing,
               std::function<std::int16_t()> aim);

    void waitUntil(std::int64_t deadlineMs) override;

    long events() const { return events_; }

private:
    struct Key {
        std::int16_t code;
        bool held = false;
        std::int64_t nextRepeat = 0;
    };
    void press(Key& key, std::int64_t at);
    void release(Key& key);
    void randomAction(std::int64_t now);
    void aimedAction(std::int64_t now);
    std::int64_t nextAction();

    sim::ScriptClock& clock_;
    std::mt19937 random_;
    std::function<bool()> playing_;
    std::function<std::int16_t()> aim_;
    std::array<Key, 4> keys_;
    std::int64_t nextActionAt_ = 0;
    long events_ = 0;
};

}  // namespace vantorix::soak
