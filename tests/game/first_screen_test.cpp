// What the player sees and hears before pressing a key.
#include <gtest/gtest.h>

#include "support/game_rig.h"
#include "support/sim_run.h"

namespace vantorix {
namespace {

using testing::label;
using testing::simulate;

TEST(FirstScreen, IsTheDesignedAttractScreen) {
    auto run = simulate("0 dump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.dumps.size(), 1u);
    const auto& d = run.dumps[0];
    EXPECT_EQ(d["t"], 0);
    EXPECT_EQ(d["ended"], false);
    EXPECT_EQ(d["gamePlaying"], false);
    EXPECT_EQ(d["hiScore"], 10000);
    EXPECT_EQ(d["backColor"], (testing::Json{0, 0, 192}));
    EXPECT_EQ(label(d, "txtHisc")["caption"], "10000");
    EXPECT_EQ(label(d, "txtHighScore")["caption"], "HighScore:");
    EXPECT_EQ(label(d, "txtTitle")["caption"], "Vantorix");
    EXPECT_EQ(label(d, "txtEvent")["caption"], "Push Z or X");
    EXPECT_EQ(label(d, "txtInfo")["caption"], "Start:Z     Quit:X");
    EXPECT_EQ(label(d, "Bgtxt")["caption"], "J");
    EXPECT_EQ(label(d, "txtScore")["caption"], "");
    EXPECT_EQ(label(d, "txtRest")["caption"], "");
    EXPECT_EQ(label(d, "Myship")["visible"], false);
    EXPECT_EQ(label(d, "Beam")["top"], 168);
    EXPECT_EQ(label(d, "Beam")["visible"], true);
}

TEST(FirstScreen, TheWindowHoldsJustThePlayField) {
    testing::GameRig rig;
    EXPECT_EQ(rig.host.width, 264);
    EXPECT_EQ(rig.host.height, 165);
}

TEST(FirstScreen, SixEnemiesWaitBeyondTheRightEdge) {
    auto d = simulate("0 dump\n").dumps.at(0);
    for (int i = 0; i <= 5; ++i) {
        const auto& e = label(d, "Enemy(" + std::to_string(i) + ")");
        EXPECT_EQ(e["left"], 264) << i;
        EXPECT_EQ(e["top"], 32 * i) << i;
        EXPECT_EQ(e["width"], 33) << i;
        EXPECT_EQ(e["caption"], "B") << i;
        EXPECT_EQ(e["visible"], i == 0) << i;
    }
}

TEST(FirstScreen, TimersStandAsDesigned) {
    auto d = simulate("0 dump\n").dumps.at(0);
    EXPECT_EQ(d["timers"]["TimePushX"], (testing::Json{{"enabled", true}, {"interval", 10}}));
    EXPECT_EQ(d["timers"]["TimeEvent"], (testing::Json{{"enabled", true}, {"interval", 250}}));
    EXPECT_EQ(d["timers"]["TimeEnemy"], (testing::Json{{"enabled", false}, {"interval", 1000}}));
    EXPECT_EQ(d["timers"]["TimeBeam"], (testing::Json{{"enabled", false}, {"interval", 100}}));
}

TEST(FirstScreen, TheTitleMusicOpensAndPlays) {
    auto d = simulate("0 dump\n").dumps.at(0);
    std::string open = std::string("open ") + VANTORIX_MEDIA_DIR + "/title.mid type sequencer alias midifile";
    EXPECT_EQ(d["mci"], (testing::Json{"stop midifile ", "close midifile", "stop midifile ",
                                       "close midifile", open, "play midifile"}));
    EXPECT_EQ(d["music"]["file"], "title.mid");
    EXPECT_EQ(d["music"]["mode"], "playing");
    EXPECT_TRUE(d["sounds"].empty());
}

TEST(TitleMusic, LoopsFromTheStartWhenItEnds) {
    // The title song is 38.4 s long; it is restarted within one pass of the loop.
    auto run = simulate("0 dump\n38390 dump\n38420 dump\n");
    ASSERT_EQ(run.dumps.size(), 3u);
    EXPECT_TRUE(run.dumps[1]["mci"].empty());
    EXPECT_EQ(run.dumps[2]["mci"], (testing::Json{"play midifile from 0"}));
    EXPECT_EQ(run.dumps[2]["music"]["mode"], "playing");
}

TEST(Closing, TheCloseCommandStopsTheMusicAndEnds) {
    auto run = simulate("0 dump\n500 close\n600 dump\n");
    ASSERT_EQ(run.status, 0);
    const auto& d = run.dumps.at(1);
    EXPECT_EQ(d["ended"], true);
    EXPECT_EQ(d["mci"], (testing::Json{"stop midifile "}));
    EXPECT_EQ(d["music"]["mode"], "stopped");
}

TEST(Closing, NothingRunsAfterTheEnd) {
    auto run = simulate("500 close\n600 down Z\n5000 dump\n");
    const auto& d = run.dumps.at(0);
    EXPECT_EQ(d["gamePlaying"], false);
    EXPECT_EQ(d["zKeyDown"], false);
    EXPECT_TRUE(d["sounds"].empty());
}

TEST(MissingMedia, TheGameRunsSilentlyWithoutItsFiles) {
    auto run = simulate("0 dump\n1000 down Z\n1010 up Z\n3000 dump\n", "/nonexistent folder");
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.dumps[0]["mci"].back(), "play midifile");
    EXPECT_EQ(run.dumps[0]["music"]["file"], "");
    EXPECT_EQ(run.dumps[0]["music"]["mode"], "");
    // The start sound takes no time when its file is missing.
    EXPECT_EQ(run.dumps[1]["gamePlaying"], true);
    EXPECT_EQ(run.dumps[1]["sounds"], testing::Json::parse(R"([["start.wav", 2]])"));
    EXPECT_EQ(run.dumps[1]["timers"]["TimeEnemy"]["enabled"], true);
}

}  // namespace
}  // namespace vantorix
