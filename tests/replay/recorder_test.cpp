// Games recorded as the simulator plays scripts: what is kept, and that it
// plays back to the same end.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "replay/replay_file.h"
#include "replay/verify.h"
#include "simulation.h"

namespace vantorix {
namespace {

// Plays `script` and returns the replay of its last finished game.
Replay recordedBy(const std::string& script) {
    auto file = std::filesystem::temp_directory_path() /
                ("recorder_test_" + std::to_string(::getpid()) + ".vtxreplay");
    std::filesystem::remove(file);
    sim::Options options;
    options.mediaDir = VANTORIX_MEDIA_DIR;
    options.recordTo = file;
    std::istringstream in(script);
    std::ostringstream out, err;
    EXPECT_EQ(sim::runSimulation(options, in, out, err), 0) << err.str();
    std::string whyNot;
    auto replay = readReplay(file, whyNot);
    std::filesystem::remove(file);
    if (!replay) ADD_FAILURE() << whyNot;
    return replay.value_or(Replay{});
}

constexpr const char* kStart = "100 down Z\n150 up Z\n";

TEST(Recorder, AGameIsKeptFromTheTickThatStartsItToItsEnd) {
    Replay replay = recordedBy(std::string(kStart) + "20000 dump\n");
    ASSERT_FALSE(replay.events.empty());
    EXPECT_EQ(replay.events.front().event, (InputEvent{InputEvent::Kind::Tick, 0, 0, 0}))
        << "the key-poll tick that saw Z held";
    EXPECT_EQ(replay.events.front().atMs, 0);
    EXPECT_TRUE(replay.start.zKeyDown);
    EXPECT_FALSE(replay.start.gamePlaying);
    EXPECT_EQ(replay.header.ending, Ending::Dekopin);
    EXPECT_EQ(replay.seeds.size(), 1u) << "the game reseeds once, at its start";
    // A check every five seconds of play, and one at the end.
    ASSERT_GE(replay.checks.size(), 2u);
    for (std::size_t i = 1; i + 1 < replay.checks.size(); ++i) {
        std::int64_t gap = replay.events[replay.checks[i].afterEvents - 1].atMs -
                           replay.events[replay.checks[i - 1].afterEvents - 1].atMs;
        EXPECT_GE(gap, 5000);
        EXPECT_LE(gap, 5100) << "the next tick after five seconds";
    }
    EXPECT_EQ(replay.checks.back().afterEvents, replay.events.size());
    EXPECT_EQ(verifyReplay(replay), std::nullopt);
}

TEST(Recorder, PausedTimeIsKeptApartAndLeftOutOfTheGame) {
    Replay plain = recordedBy(std::string(kStart) + "20000 dump\n");
    Replay paused = recordedBy(std::string(kStart) + "3000 pause\n7000 resume\n30000 dump\n");
    EXPECT_EQ(paused.header.lengthMs, plain.header.lengthMs);
    std::int64_t pausedFor = 0;
    for (const ReplayEvent& e : paused.events) pausedFor += e.pausedBeforeMs;
    EXPECT_EQ(pausedFor, 4000);
    EXPECT_EQ(paused.checks.back().stateHash, plain.checks.back().stateHash);
    EXPECT_EQ(verifyReplay(paused), std::nullopt);
}

TEST(Recorder, ALaterGameStartsFromWhatTheEarlierLeft) {
    // The enemies that stepped on after the first game's end start the second nearer.
    Replay second = recordedBy(std::string(kStart) + "20000 down Z\n20050 up Z\n45000 dump\n");
    bool moved = false;
    for (const LabelState& l : second.start.labels) moved |= l.name == "Enemy" && l.left != 328 && l.left != 264;
    EXPECT_TRUE(moved);
    EXPECT_EQ(verifyReplay(second), std::nullopt);
}

TEST(Recorder, AWindowClosedMidGameKeepsTheGameSoFar) {
    Replay replay = recordedBy(std::string(kStart) + "4000 close\n5000 dump\n");
    EXPECT_EQ(replay.header.ending, Ending::Closed);
    EXPECT_EQ(replay.events.back().event.kind, InputEvent::Kind::Close);
    EXPECT_EQ(verifyReplay(replay), std::nullopt);
}

}  // namespace
}  // namespace vantorix
