#pragma once

#include <functional>

#include "runtime/input.h"
#include "script.h"
#include "script_clock.h"

namespace vantorix::sim {

// Input from the script. Waiting moves the clock: to the next input if it comes
// before the deadline (input at a moment goes before the ticks of that moment),
// else to the deadline. Dumps and pictures run once everything due at or before
// their moment has been handled. At the end of the script `onScriptEnd` runs.
class ScriptInput : public QueuedInputSource {
public:
    ScriptInput(ScriptClock& clock, ScriptReader& reader,
                std::function<void(const Command&)> onOutput, std::function<void()> onScriptEnd);

    void waitUntil(std::int64_t deadlineMs) override;

private:
    ScriptClock& clock_;
    ScriptReader& reader_;
    std::function<void(const Command&)> onOutput_;
    std::function<void()> onScriptEnd_;
};

}  // namespace vantorix::sim
