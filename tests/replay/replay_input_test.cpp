// Watching a replay: its events come at their own pace, and only quitting
// is left to the player.
#include <gtest/gtest.h>

#include "replay/replay_input.h"
#include "runtime/key_codes.h"
#include "support/fakes.h"

namespace vantorix {
namespace {

class Player : public QueuedInputSource {
public:
    void waitUntil(std::int64_t deadline) override { waitedUntil = deadline; }
    void press(std::int16_t key) { queue_.push_back({InputEvent::Kind::KeyDown, key}); }
    std::int64_t waitedUntil = 0;
};

Replay twoEvents() {
    Replay replay;
    replay.events = {{0, {InputEvent::Kind::Tick, 0, 0, 0}}, {250, {InputEvent::Kind::KeyDown, vbKeyUp}}};
    return replay;
}

TEST(ReplayInput, EventsComeAtTheirTimesFromTheShowingsStartThenTheLastScreenThenTheEnd) {
    Replay replay = twoEvents();
    testing::ManualClock clock;
    clock.now = 1000;
    Player player;
    ReplayInput input(replay, player, clock, vbKeyX);
    EXPECT_EQ(input.take(), replay.events[0].event);
    EXPECT_EQ(input.take(), std::nullopt);
    input.waitUntil(5000);
    EXPECT_EQ(player.waitedUntil, 1250) << "the wait ends when the next event is due";
    clock.now = 1249;
    EXPECT_EQ(input.take(), std::nullopt);
    clock.now = 1250;
    EXPECT_EQ(input.take(), replay.events[1].event);
    clock.now = 1250 + ReplayInput::kLastScreenMs - 1;
    EXPECT_EQ(input.take(), std::nullopt);
    clock.now += 1;
    EXPECT_EQ(input.take(), InputEvent{InputEvent::Kind::Close});
    EXPECT_EQ(input.take(), std::nullopt) << "closed once";
}

TEST(ReplayInput, ThePlayersKeysDoNothingButQuit) {
    Replay replay = twoEvents();
    testing::ManualClock clock;
    clock.now = 1000;
    Player player;
    ReplayInput input(replay, player, clock, vbKeyX);
    player.press(vbKeyZ);
    player.press(vbKeyDown);
    EXPECT_EQ(input.take(), replay.events[0].event) << "the player's Z and Down went nowhere";
    player.press(vbKeyX);
    clock.now = 1250;
    EXPECT_EQ(input.take(), InputEvent{InputEvent::Kind::Close}) << "X ends the showing before what was due";
    EXPECT_EQ(input.take(), std::nullopt);
}

}  // namespace
}  // namespace vantorix
