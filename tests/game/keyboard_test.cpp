// The arrows move the ship lane by lane; X performs a High.
#include <gtest/gtest.h>

#include <set>

#include "support/game_rig.h"

namespace vantorix {
namespace {

using testing::GameRig;

TEST(Ship, ArrowsWalkTheLanesAndStopAtTheEdges) {
    GameRig rig;
    rig.start();
    for (int i = 0; i < 4; ++i) rig.key(vbKeyUp);
    EXPECT_EQ(rig.game.shipRow, 0);
    EXPECT_EQ(rig.game.Myship.top(), 0);
    EXPECT_EQ(rig.game.Myship.left(), 8);
    for (int i = 0; i < 9; ++i) rig.key(vbKeyDown);
    EXPECT_EQ(rig.game.shipRow, 4);
    EXPECT_EQ(rig.game.Myship.top(), 128);
    rig.key(vbKeyLeft);
    rig.key(vbKeyRight);
    EXPECT_EQ(rig.game.Myship.left(), 8);
}

TEST(Ship, EachRepeatedKeyDownCounts) {
    GameRig rig;
    rig.start();
    rig.game.Form_KeyDown(vbKeyDown, 0);
    rig.game.Form_KeyDown(vbKeyDown, 0);
    EXPECT_EQ(rig.game.shipRow, 4);
}

TEST(High, FlashesPlaysPushesAndScores) {
    GameRig rig;
    rig.start();
    std::int64_t before = rig.clock.nowMs();
    rig.game.Form_KeyDown(vbKeyX, 0);
    EXPECT_EQ(rig.during("high.wav").back, kFlashWhite) << "white while the sound plays";
    EXPECT_EQ(rig.game.Window.backColor(), kFlashWhite) << "and after it, until X is released";
    EXPECT_EQ(rig.clock.nowMs() - before, 1000) << "high.wav holds the game";
    auto sounds = rig.sounds.takeSounds();
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(sounds[0], (std::pair<std::string, std::uint32_t>{"high.wav", 2}));
    EXPECT_EQ(rig.game.score, 500);
    EXPECT_EQ(rig.game.txtScore.caption(), "500");
    EXPECT_EQ(rig.game.highRest, 2);
    EXPECT_EQ(rig.game.txtRest.caption(), "2");
    rig.game.Form_KeyUp(vbKeyX, 0);
    EXPECT_EQ(rig.game.Window.backColor(), kFieldBlue);
}

TEST(High, ThreeAGameThenNothing) {
    GameRig rig;
    rig.start();
    std::vector<std::string> rest;
    for (int i = 0; i < 5; ++i) {
        rig.game.Form_KeyDown(vbKeyX, 0);  // held X repeats its key-down
        rest.push_back(rig.game.txtRest.caption());
    }
    EXPECT_EQ(rest, (std::vector<std::string>{"2", "1", "0", "0", "0"}));
    EXPECT_EQ(rig.game.score, 1500);
    EXPECT_EQ(rig.sounds.takeSounds().size(), 3u);
    rig.game.Form_KeyUp(vbKeyX, 0);
    EXPECT_EQ(rig.game.Window.backColor(), kFieldBlue);
}

TEST(High, TheFirstPushSinceStartUpPutsEnemyZeroAtTheEdge) {
    GameRig rig;
    rig.start();
    rig.key(vbKeyX);
    EXPECT_EQ(rig.enemy(0).left(), 264);
    for (int i = 1; i <= 4; ++i) {
        float k = (rig.enemy(i).left() - 264) / 32;
        EXPECT_GE(k, 1) << i;
        EXPECT_LE(k, 6) << i;
        EXPECT_EQ(k, static_cast<int>(k)) << i;
    }
}

TEST(High, PushOffsetsRunFromOneToSixWithTheEndsHalfAsLikely) {
    GameRig rig;
    std::map<int, int> seen;
    const int games = 4000;
    for (int g = 0; g < games; ++g) {
        rig.game.gamePlaying = true;
        rig.game.highRest = 3;
        rig.app.randomize();
        rig.clock.advanceBy(7);
        rig.game.Form_KeyDown(vbKeyX, 0);
        for (int i = 1; i <= 4; ++i) ++seen[static_cast<int>(rig.enemy(i).left() - 264) / 32];
        ++seen[rig.game.pushOffset];
    }
    EXPECT_EQ(seen.begin()->first, 1);
    EXPECT_EQ(seen.rbegin()->first, 6);
    double total = games * 5;
    EXPECT_NEAR(seen[1] / total, 0.1, 0.02);
    EXPECT_NEAR(seen[3] / total, 0.2, 0.02);
    EXPECT_NEAR(seen[6] / total, 0.1, 0.02);
}

TEST(High, ADestroyedEnemyOnlyMovesSideways) {
    GameRig rig;
    rig.start();
    rig.enemy(3).setVisible(false);
    rig.enemy(3).move(0, 256);
    rig.key(vbKeyX);
    EXPECT_FALSE(rig.enemy(3).visible());
    EXPECT_EQ(rig.enemy(3).top(), 256);
    EXPECT_GE(rig.enemy(3).left(), 296);
}

TEST(High, LeavesTheShotTheShipAndTheEnemyPaceAlone) {
    GameRig rig;
    rig.start();
    rig.fire();
    rig.game.TimeBeam_Timer();
    rig.game.TimeEnemy.setInterval(750);
    rig.key(vbKeyX);
    EXPECT_TRUE(rig.game.beamFlying);
    EXPECT_EQ(rig.game.Beam.left(), 40);
    EXPECT_EQ(rig.game.TimeEnemy.interval(), 750);
    EXPECT_EQ(rig.game.Myship.top(), 64);
}

TEST(High, ReleasingXAlwaysRestoresTheBlue) {
    GameRig rig;
    rig.game.Window.setBackColor(kFlashWhite);
    rig.game.Form_KeyUp(vbKeyX, 0);
    EXPECT_EQ(rig.game.Window.backColor(), kFieldBlue);
    EXPECT_FALSE(rig.game.xKeyDown);
}

}  // namespace
}  // namespace vantorix
