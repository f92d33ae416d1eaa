// Game over and the mission's end: what each leaves for the attract mode.
#include <gtest/gtest.h>

#include "support/game_rig.h"

namespace vantorix {
namespace {

using testing::expectShown;
using testing::GameRig;

TEST(GameOver, HandsTheWindowBackToTheAttractMode) {
    GameRig rig;
    rig.start();
    rig.game.TimeEnemy_Timer();  // the wave steps into view
    rig.game.TimeEnemy.setInterval(600);
    rig.game.score = 10700;
    rig.game.Myship.setCaption("N");
    rig.media.takeCommands();
    rig.game.gameOver();
    EXPECT_FALSE(rig.game.gamePlaying);
    for (int i = 0; i <= 4; ++i) {
        EXPECT_EQ(rig.enemy(i).left(), 328);
        EXPECT_EQ(rig.enemy(i).top(), 32 * i);
        EXPECT_TRUE(rig.enemy(i).visible());
    }
    EXPECT_EQ(rig.enemy(5).left(), 264);
    EXPECT_EQ(rig.game.Beam.left(), 0);
    EXPECT_EQ(rig.game.Beam.top(), 168);
    EXPECT_FALSE(rig.game.TimeEnemy.enabled());
    EXPECT_EQ(rig.game.TimeEnemy.interval(), 1000);
    EXPECT_FALSE(rig.game.TimeBeam.enabled());
    EXPECT_TRUE(rig.game.TimeEvent.enabled());
    // All on screen, the music paused, while the game-over sound holds the game.
    expectShown(rig.during("gameover.wav"),
                {{"Bgtxt", "U"}, {"txtInfo", "Start:Z     Quit:X"}, {"txtTitle", "Game Over"},
                 {"Myship", "N"}, {"txtHisc", "10700"}, {"Enemy(2)", ""}});
    EXPECT_EQ(rig.during("gameover.wav").music, "paused");
    EXPECT_EQ(rig.during("miss.wav").music, "playing");
    EXPECT_EQ(rig.game.txtScore.caption(), "0") << "the score shown is left as it was";
    EXPECT_EQ(rig.media.takeCommands(), std::vector<std::string>{"pause midifile "});
    rig.start();
    EXPECT_EQ(rig.game.Bgtxt.caption(), "J") << "until the next game";
}

TEST(GameOver, TheHighScoreRisesOnlyWhenBeaten) {
    for (auto [score, shown] : {std::pair{10000, "10000"}, std::pair{10100, "10100"},
                                std::pair{9900, "10000"}}) {
        GameRig rig;
        rig.start();
        rig.game.score = score;
        rig.game.gameOver();
        EXPECT_EQ(rig.game.txtHisc.caption(), shown) << score;
        EXPECT_EQ(rig.game.hiScore, std::max(score, 10000)) << score;
    }
}

TEST(GameOver, AShotInFlightFliesOnUnseenInTheNextGame) {
    GameRig rig;
    rig.start();
    rig.fire();
    rig.game.TimeBeam_Timer();
    rig.game.gameOver();
    EXPECT_TRUE(rig.game.beamFlying);
    rig.start();
    for (int tick = 1; tick <= 8; ++tick) {
        rig.fire();
        rig.game.TimeBeam_Timer();
        ASSERT_EQ(rig.game.Beam.top(), 168) << "no new shot while the old one flies";
        ASSERT_EQ(rig.game.Beam.left(), 32 * tick);
    }
    rig.game.TimeBeam_Timer();
    EXPECT_FALSE(rig.game.beamFlying);
    rig.fire();
    EXPECT_EQ(rig.game.Beam.top(), 64);
}

TEST(Clear, AMissionOfExactlyThirtyThousandIsPerfect) {
    GameRig rig;
    rig.start();
    rig.game.TimeEnemy_Timer();  // the wave steps into view
    rig.fire();
    rig.game.TimeBeam_Timer();
    rig.game.score = 20000;
    rig.game.gameClere();
    EXPECT_EQ(rig.game.score, 30000);
    // All on screen, the shot and the wave gone, while the clear sound holds the game.
    expectShown(rig.during("clear.wav"),
                {{"txtScore", "30000"}, {"txtHisc", "30000"}, {"txtTitle", "Perfect!!!"},
                 {"Myship", "J"}, {"Bgtxt", "P"}, {"Beam", ""}, {"Enemy(2)", ""}});
    EXPECT_EQ(rig.during("clear.wav").music, "paused");
    EXPECT_EQ(rig.game.txtRest.caption(), "3") << "the Highs are paid, not used";
    auto sounds = rig.sounds.takeSounds();
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(sounds[0], (std::pair<std::string, std::uint32_t>{"clear.wav", 2}));
    rig.start();
    EXPECT_EQ(rig.game.Myship.caption(), "J") << "the smiling ship while the record is 30000";
}

TEST(Clear, AnyOtherScoreIsMissionOver) {
    for (auto [score, rest, final] : {std::tuple{20100, 3, 30100}, std::tuple{20000, 0, 21000},
                                      std::tuple{21500, 2, 28500}}) {
        GameRig rig;
        rig.start();
        rig.game.score = score;
        rig.game.highRest = static_cast<std::int16_t>(rest);
        rig.game.gameClere();
        EXPECT_EQ(rig.game.score, final);
        EXPECT_EQ(rig.game.txtTitle.caption(), "Mission Over!!");
        EXPECT_EQ(rig.game.Myship.caption(), ">");
    }
}

TEST(Clear, ASecondPerfectGameChangesNoRecord) {
    GameRig rig;
    rig.start();
    rig.game.score = 20000;
    rig.game.gameClere();
    rig.start();
    rig.game.score = 20000;
    rig.game.txtHisc.setCaption("marker");
    rig.game.gameClere();
    EXPECT_EQ(rig.game.txtHisc.caption(), "marker");
    EXPECT_EQ(rig.game.hiScore, 30000);
}

TEST(Clear, LeavesTheAttractModeAndParksEverything) {
    GameRig rig;
    rig.start();
    rig.game.TimeEnemy.setInterval(400);
    rig.enemy(0).setVisible(false);
    rig.game.score = 25000;
    rig.game.gameClere();
    EXPECT_FALSE(rig.game.gamePlaying);
    EXPECT_FALSE(rig.game.TimeEnemy.enabled());
    EXPECT_EQ(rig.game.TimeEnemy.interval(), 1000);
    EXPECT_FALSE(rig.game.TimeBeam.enabled());
    EXPECT_TRUE(rig.game.TimeEvent.enabled());
    EXPECT_EQ(rig.game.txtInfo.caption(), "Start:Z     Quit:X");
    for (int i = 0; i <= 4; ++i) EXPECT_EQ(rig.enemy(i).left(), 328);
    EXPECT_FALSE(rig.enemy(0).visible()) << "visibility is left alone";
    EXPECT_EQ(rig.game.Beam.top(), 168);
    rig.start();
    EXPECT_TRUE(rig.enemy(0).visible()) << "until the next game";
}

TEST(Clear, TheHighBonusIsASixteenBitProduct) {
    GameRig rig;
    rig.start();
    rig.game.highRest = 11;  // beyond what play allows: 33000 does not fit
    EXPECT_THROW(rig.game.gameClere(), std::overflow_error);
}

}  // namespace
}  // namespace vantorix
