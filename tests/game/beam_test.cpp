// The one shot: firing, flight, leaving the field, hits and the enemies' speed-up.
#include <gtest/gtest.h>

#include "support/game_rig.h"
#include "support/sim_run.h"

namespace vantorix {
namespace {

using testing::GameRig;

TEST(Shot, LeavesFromTheShipAndFliesThirtyTwoPixelsATick) {
    GameRig rig;
    rig.start();
    rig.key(vbKeyUp);
    rig.fire();
    EXPECT_TRUE(rig.game.beamFlying);
    EXPECT_EQ(rig.game.Beam.left(), 8);
    EXPECT_EQ(rig.game.Beam.top(), 32);
    EXPECT_EQ(rig.game.beamRow, 1);
    std::vector<float> lefts;
    for (int i = 0; i < 3; ++i) {
        rig.game.TimeBeam_Timer();
        lefts.push_back(rig.game.Beam.left());
    }
    EXPECT_EQ(lefts, (std::vector<float>{40, 72, 104}));
}

TEST(Shot, OnlyOneAtATime) {
    GameRig rig;
    rig.start();
    rig.fire();
    rig.game.TimeBeam_Timer();
    rig.key(vbKeyDown);
    rig.fire();
    EXPECT_EQ(rig.game.Beam.left(), 40) << "the shot in flight is not replaced";
    EXPECT_EQ(rig.game.beamRow, 2);
}

TEST(Shot, KeepsItsLaneWhenTheShipMoves) {
    GameRig rig;
    rig.start();
    rig.fire();
    rig.key(vbKeyUp);
    rig.key(vbKeyUp);
    rig.game.TimeBeam_Timer();
    EXPECT_EQ(rig.game.Beam.top(), 64);
    EXPECT_EQ(rig.game.beamRow, 2);
}

TEST(Shot, LeavesTheFieldAtItsNinthTick) {
    GameRig rig;
    rig.start();
    rig.enemy(2).setVisible(false);
    rig.enemy(2).move(0, 256);
    rig.fire();
    for (int tick = 1; tick <= 8; ++tick) {
        rig.game.TimeBeam_Timer();
        ASSERT_TRUE(rig.game.beamFlying) << tick;
        ASSERT_EQ(rig.game.Beam.left(), 8 + 32 * tick);
    }
    rig.game.TimeBeam_Timer();
    EXPECT_FALSE(rig.game.beamFlying);
    EXPECT_EQ(rig.game.Beam.left(), 0);
    EXPECT_EQ(rig.game.Beam.top(), 168);
    EXPECT_TRUE(rig.sounds.takeSounds().empty());
    rig.game.TimePushX_Timer();
    EXPECT_FALSE(rig.game.beamFlying) << "no new shot once Z is up";
}

TEST(Shot, AtTheEdgeHitsAnEnemyAt264ButNot296) {
    for (auto [enemyLeft, hit] : {std::pair{264.0f, true}, std::pair{296.0f, false}}) {
        GameRig rig;
        rig.start();
        rig.enemy(2).move(enemyLeft, 64);
        rig.game.Beam.move(232, 64);
        rig.game.beamRow = 2;
        rig.game.beamFlying = true;
        rig.game.TimeBeam_Timer();  // to 264
        EXPECT_EQ(rig.game.score == 100, hit) << enemyLeft;
        if (!hit) {
            rig.game.TimeBeam_Timer();  // to 296: gone before the test
            EXPECT_FALSE(rig.game.beamFlying);
            EXPECT_EQ(rig.game.score, 0);
        }
    }
}

TEST(Shot, AHitDestroysScoresBeepsAndSpeedsUpTheWave) {
    GameRig rig;
    rig.start();
    rig.enemy(2).move(72, 64);
    rig.fire();
    rig.game.TimeBeam_Timer();  // 40 is short of 72 - 16
    EXPECT_TRUE(rig.game.beamFlying);
    rig.game.TimeBeam_Timer();  // 72 hits
    EXPECT_EQ(rig.game.score, 100);
    EXPECT_EQ(rig.game.txtScore.caption(), "100");
    EXPECT_FALSE(rig.enemy(2).visible());
    EXPECT_EQ(rig.enemy(2).left(), 0);
    EXPECT_EQ(rig.enemy(2).top(), 256);
    EXPECT_EQ(rig.game.Beam.left(), 0);
    EXPECT_EQ(rig.game.Beam.top(), 168);
    EXPECT_EQ(rig.game.TimeEnemy.interval(), 995);
    auto sounds = rig.sounds.takeSounds();
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(sounds[0], (std::pair<std::string, std::uint32_t>{"hit.wav", 1}));
    EXPECT_EQ(rig.sounds.takeBeeps(), 1);
}

TEST(Shot, TheHitSoundDoesNotHoldTheGame) {
    GameRig rig;
    rig.start();
    rig.enemy(2).move(40, 64);
    rig.fire();
    std::int64_t before = rig.clock.nowMs();
    int drawn = rig.host.presents;
    rig.game.TimeBeam_Timer();
    EXPECT_EQ(rig.game.score, 100);
    EXPECT_EQ(rig.clock.nowMs(), before);
    EXPECT_EQ(rig.host.presents, drawn) << "nor draws a frame halfway through the hit";
}

TEST(Shot, HitsOnlyTheEnemyOfItsOwnLane) {
    GameRig rig;
    rig.start();
    rig.enemy(1).move(40, 32);
    rig.enemy(3).move(40, 96);
    rig.fire();
    rig.game.TimeBeam_Timer();
    EXPECT_EQ(rig.game.score, 0);
    EXPECT_TRUE(rig.enemy(1).visible());
}

TEST(Shot, AnEnemyAlreadyPastTheShipIsHitAtTheFirstTick) {
    GameRig rig;
    rig.start();
    rig.enemy(2).move(-24, 64);
    rig.fire();
    rig.game.TimeBeam_Timer();
    EXPECT_EQ(rig.game.score, 100);
}

TEST(Shot, TheEnemyIntervalStopsAt250) {
    GameRig rig;
    rig.start();
    rig.game.TimeEnemy.setInterval(260);
    std::vector<int> intervals;
    for (int i = 0; i < 3; ++i) {
        rig.enemy(2).setVisible(true);
        rig.enemy(2).move(40, 64);
        rig.fire();
        rig.game.TimeBeam_Timer();
        intervals.push_back(rig.game.TimeEnemy.interval());
    }
    EXPECT_EQ(intervals, (std::vector<int>{255, 250, 250}));
}

TEST(Shot, MissingHitSoundGivesTheDefaultSound) {
    GameRig rig("/no such media");
    rig.start();
    rig.enemy(2).move(40, 64);
    rig.fire();
    rig.game.TimeBeam_Timer();
    auto sounds = rig.sounds.takeSounds();
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(sounds[0].second, 1u) << "played in the background, where the default sound stands in";
    EXPECT_EQ(rig.sounds.takeBeeps(), 1);
}

TEST(Shot, ATickWithNoShotChangesNothing) {
    GameRig rig;
    rig.start();
    rig.game.TimeBeam_Timer();
    EXPECT_EQ(rig.game.Beam.left(), 0);
    EXPECT_EQ(rig.game.Beam.top(), 168);
    EXPECT_EQ(rig.game.score, 0);
}

TEST(Shot, InTheWindowAShotFiredAtTwoFiveHitsLaneTwoAtThreeOne) {
    auto run = testing::simulate(
        "1000 down Z\n1010 up Z\n2500 down Z\n2510 up Z\n3050 dump\n3100 dump\n");
    const auto& before = run.dumps.at(0);
    EXPECT_EQ(before["beamFlying"], true);
    EXPECT_EQ(testing::label(before, "Beam")["left"], 200);
    const auto& after = run.dumps.at(1);
    EXPECT_EQ(after["score"], 100);
    EXPECT_EQ(after["beeps"], 1);
    EXPECT_EQ(after["timers"]["TimeEnemy"]["interval"], 995);
    EXPECT_EQ(testing::label(after, "Enemy(2)")["visible"], false);
}

}  // namespace
}  // namespace vantorix
