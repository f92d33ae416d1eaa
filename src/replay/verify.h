#pragma once

#include <functional>
#include <optional>
#include <string>

#include "replay/replay.h"

namespace vantorix {

class Form;
class FormVTX;

// Plays a replay through the game's rules without a window or sound, as fast
// as they run, comparing each recorded check. Nothing when all match; else
// which event came first where one differs, and how. `atEnd` sees the state
// that the last event left.
std::optional<std::string> verifyReplay(const Replay& replay,
                                        const std::function<void(const FormVTX&, const Form&)>& atEnd = {});

// "the tick of TimeEnemy at 1:02.350", "Z down at 0:00.120": an event as a person reads it.
std::string describeEvent(const Replay& replay, const ReplayEvent& event);

}  // namespace vantorix
