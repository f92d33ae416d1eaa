#pragma once

#include <cstdint>

#include "runtime/clock.h"

namespace vantorix {

// The game's time: another clock's, standing still while the game is paused.
// No timer falls due while it stands, and once it goes on every deadline is
// where it was, so a paused game goes on exactly as if it had never stopped,
// only later. The time of day stands still with it: the random numbers drawn
// from it are those of the game that was never paused.
class PausingClock : public Clock {
public:
    explicit PausingClock(Clock& real) : real_(real) {}

    std::int64_t nowMs() override;
    std::int64_t timeOfDayMs() override;

    void pause();
    void resume();
    bool paused() const { return paused_; }
    // How far this clock is behind the real one: all the time spent paused.
    std::int64_t behindMs();

private:
    Clock& real_;
    bool paused_ = false;
    std::int64_t pausedAtMs_ = 0;
    std::int64_t pausedForMs_ = 0;
};

}  // namespace vantorix
