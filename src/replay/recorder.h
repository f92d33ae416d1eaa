#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "replay/replay.h"
#include "replay/replay_file.h"
#include "replay/seed_clock.h"
#include "runtime/pausing_clock.h"

namespace vantorix {

class Form;
class FormVTX;

// Records every game from the event that starts it to the one that ends it,
// watching the form's dispatch from outside the game.
class Recorder {
public:
    using Finished = std::function<void(const ReplayHeader& header, std::string file)>;

    // `wallClock` gives the date a game starts, in seconds since 1970.
    Recorder(Form& form, FormVTX& game, PausingClock& clock, SeedClock& seeds,
             std::function<std::int64_t()> wallClock, Finished finished);

    // How often the state is fingerprinted during a game, on the game's clock.
    static constexpr std::int64_t kCheckEveryMs = 5000;

private:
    void before(const InputEvent& event);
    void after();
    void finish();
    std::int64_t sinceStart() { return clock_.nowMs() - startMs_; }

    Form& form_;
    FormVTX& game_;
    PausingClock& clock_;
    std::function<std::int64_t()> wallClock_;
    Finished finished_;
    std::vector<std::string> timerNames_;

    // The state before an event that may start a game, and that event.
    std::optional<GameState> candidate_;
    InputEvent startEvent_;
    std::int64_t startMs_ = 0;
    std::vector<std::int64_t> seeds_;

    bool recording_ = false;
    ReplayWriter writer_;
    std::int64_t startedAt_ = 0;
    std::int64_t behindMs_ = 0;
    std::int64_t lastCheckMs_ = 0;
};

}  // namespace vantorix
