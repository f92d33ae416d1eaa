// Between games: the blinking prompt, and Z and X read by the key poll.
#include <gtest/gtest.h>

#include "support/game_rig.h"
#include "support/sim_run.h"

namespace vantorix {
namespace {

using testing::GameRig;
using testing::label;
using testing::simulate;

TEST(Blink, ThePromptShowsAQuarterSecondAndHidesAQuarterSecond) {
    auto run = simulate("249 dump\n250 dump\n499 dump\n500 dump\n750 dump\n1000 dump\n");
    std::vector<bool> shown;
    for (const auto& d : run.dumps) shown.push_back(label(d, "txtEvent")["visible"]);
    // Visible at creation; the first blink shows it, the next hides it.
    EXPECT_EQ(shown, (std::vector<bool>{true, true, true, false, true, false}));
    EXPECT_EQ(run.dumps[1]["blinkOn"], true);
    EXPECT_EQ(run.dumps[3]["blinkOn"], false);
}

TEST(Blink, BlinkOnCarriesAcrossGamesAndTheCaptionComesBack) {
    GameRig rig;
    rig.game.pushXkey();
    EXPECT_TRUE(rig.game.blinkOn);
    rig.start();
    EXPECT_EQ(rig.game.txtEvent.caption(), "");
    EXPECT_TRUE(rig.game.txtEvent.visible()) << "keeps its last blink's visibility";
    EXPECT_TRUE(rig.game.blinkOn) << "not reset by a start";
    rig.game.gameOver();
    rig.game.TimeEvent_Timer();
    EXPECT_EQ(rig.game.txtEvent.caption(), "Push Z or X");
    EXPECT_FALSE(rig.game.txtEvent.visible());
    EXPECT_FALSE(rig.game.blinkOn);
}

TEST(Blink, DuringPlayTheEventTickDoesNothing) {
    GameRig rig;
    rig.start();
    bool before = rig.game.blinkOn;
    rig.game.TimeEvent_Timer();
    EXPECT_EQ(rig.game.blinkOn, before);
    EXPECT_EQ(rig.game.txtEvent.caption(), "");
}

TEST(KeyPoll, ZStartsAfterTheStartSoundHasPlayed) {
    GameRig rig;
    std::int64_t before = rig.clock.nowMs();
    rig.game.Form_KeyDown(vbKeyZ, 0);
    rig.game.TimePushX_Timer();
    EXPECT_TRUE(rig.game.gamePlaying);
    EXPECT_EQ(rig.clock.nowMs() - before, 1000) << "the start sound held the game";
    auto sounds = rig.sounds.takeSounds();
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(sounds[0], (std::pair<std::string, std::uint32_t>{"start.wav", 2}));
}

TEST(KeyPoll, XBetweenGamesPlaysTheEndSoundThenQuits) {
    auto run = simulate("100 down X\n120 up X\n900 dump\n1200 dump\n");
    EXPECT_EQ(run.dumps[0]["ended"], true) << "the clock is past the sound by then";
    EXPECT_EQ(run.dumps[0]["t"], 1100);
    EXPECT_EQ(run.dumps[0]["sounds"], testing::Json::parse(R"([["end.wav", 2]])"));
    EXPECT_EQ(run.dumps[0]["mci"].back(), "stop midifile ");
}

TEST(KeyPoll, ZAndXTogetherStartThenQuitInTheSameTick) {
    auto run = simulate("100 down Z\n100 down X\n3000 dump\n");
    const auto& d = run.dumps.at(0);
    EXPECT_EQ(d["ended"], true);
    EXPECT_EQ(d["gamePlaying"], true) << "the game had started";
    EXPECT_EQ(d["sounds"], testing::Json::parse(R"([["start.wav", 2], ["end.wav", 2]])"));
}

TEST(KeyPoll, ZHeldThroughTheStartDoesNotFire) {
    GameRig rig;
    rig.game.Form_KeyDown(vbKeyZ, 0);
    rig.game.TimePushX_Timer();
    EXPECT_FALSE(rig.game.zKeyDown);
    EXPECT_FALSE(rig.game.beamFlying);
    rig.game.TimePushX_Timer();
    EXPECT_FALSE(rig.game.beamFlying) << "Z is still physically held, but needs a new key-down";
    rig.game.Form_KeyDown(vbKeyZ, 0);  // the keyboard's auto-repeat
    rig.game.TimePushX_Timer();
    EXPECT_TRUE(rig.game.beamFlying);
}

TEST(KeyPoll, ArrowsAndXHighDoNothingBetweenGames) {
    GameRig rig;
    rig.start();
    rig.game.gameOver();  // the ship stays in view in lane 2, three Highs unused
    rig.sounds.takeSounds();
    rig.key(vbKeyUp);
    rig.key(vbKeyDown);
    rig.game.Form_KeyDown(vbKeyX, 0);
    EXPECT_TRUE(rig.game.xKeyDown);
    EXPECT_EQ(rig.game.Window.backColor(), kFieldBlue);
    EXPECT_TRUE(rig.sounds.takeSounds().empty());
    EXPECT_EQ(rig.game.score, 0);
    EXPECT_EQ(rig.game.Myship.top(), 64);
}

}  // namespace
}  // namespace vantorix
