#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "replay/game_state.h"
#include "runtime/input.h"

namespace vantorix {

// How a recorded game ended.
enum class Ending : std::uint8_t { Dekopin, Mayday, MissionOver, Perfect, Closed };
constexpr int kEndings = 5;
// The game's own words for it ("Mayday!!"), or "closed" for a window closed mid-game.
std::string_view endingName(Ending ending);

struct ReplayHeader {
    std::int64_t startedAt = 0;  // seconds since 1970
    std::int64_t score = 0;      // at the end
    Ending ending = Ending::Closed;
    std::int64_t lengthMs = 0;   // on the game's clock, pauses left out
    bool operator==(const ReplayHeader&) const = default;
};

// One dispatched event, at its time on the game's clock from the game's start.
struct ReplayEvent {
    std::int64_t atMs = 0;
    InputEvent event;
    std::int64_t pausedBeforeMs = 0;  // how long the game stood paused just before
    bool operator==(const ReplayEvent&) const = default;
};

// The state's score and fingerprint once `afterEvents` events had been handled.
struct ReplayCheck {
    std::size_t afterEvents = 0;
    std::int64_t score = 0;
    std::uint64_t stateHash = 0;
    bool operator==(const ReplayCheck&) const = default;
};

struct Replay {
    ReplayHeader header;
    std::vector<std::string> timers;  // the form's timers, in containment order
    GameState start;                  // the state before the first event
    std::vector<std::int64_t> seeds;  // the times of day the game read, in order
    std::vector<ReplayEvent> events;
    std::vector<ReplayCheck> checks;
    bool operator==(const Replay&) const = default;
};

// A fingerprint of everything the rules can see.
std::uint64_t stateHash(const GameState& state);

}  // namespace vantorix
