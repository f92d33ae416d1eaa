#pragma once

#include <cstdint>
#include <optional>

#include "replay/replay.h"
#include "runtime/clock.h"
#include "runtime/input.h"

namespace vantorix {

// A recorded game's events at their own pace on the game's clock, in place of
// the player's. Of the player's own input only the quit key and the window's
// close count: either ends the showing, as does the end of the game once its
// last screen has been seen.
class ReplayInput : public InputSource {
public:
    ReplayInput(const Replay& replay, InputSource& player, Clock& clock, std::int16_t quitKey);

    void waitUntil(std::int64_t deadlineMs) override;
    std::optional<InputEvent> take() override;

    // How long the game's last screen stays before the showing ends.
    static constexpr std::int64_t kLastScreenMs = 3000;

private:
    std::int64_t startMs();
    // When the next event is due, or the showing's end after the last.
    std::int64_t nextDueMs();

    const Replay& replay_;
    InputSource& player_;
    Clock& clock_;
    std::int16_t quitKey_;
    std::optional<std::int64_t> startMs_;
    std::size_t next_ = 0;
    bool over_ = false;
};

}  // namespace vantorix
