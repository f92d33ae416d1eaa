#pragma once

#include <functional>

#include "runtime/input.h"
#include "runtime/pausing_clock.h"
#include "script.h"
#include "script_clock.h"

namespace vantorix::sim {

// Input from the script. Waiting moves the clock: to the next input if it comes
// before the deadline (input at a moment goes before the ticks of that moment),
// else to the deadline. Dumps and pictures run once everything due at or before
// their moment has been handled. At the end of the script `onScriptEnd` runs.
// Pause and resume stop and start the game's time, as the window's pause does:
// keys held are let go, and no deadline of the game's comes while it stands.
class ScriptInput : public QueuedInputSource {
public:
    ScriptInput(ScriptClock& clock, PausingClock& gameClock, ScriptReader& reader,
                std::function<void(const Command&)> onOutput, std::function<void()> onScriptEnd);

    // `deadlineMs` is on the game's clock.
    void waitUntil(std::int64_t deadlineMs) override;

private:
    void pauseOrResume(const Command& c);

    ScriptClock& clock_;
    PausingClock& gameClock_;
    HeldKeys held_;
    ScriptReader& reader_;
    std::function<void(const Command&)> onOutput_;
    std::function<void()> onScriptEnd_;
};

}  // namespace vantorix::sim
