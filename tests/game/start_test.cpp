// Starting a game: what is reset, what carries over, and the music.
#include <gtest/gtest.h>

#include "support/game_rig.h"
#include "support/sim_run.h"

namespace vantorix {
namespace {

using testing::GameRig;
using testing::label;
using testing::leftOf;
using testing::simulate;

TEST(Start, SetsUpTheFieldForPlay) {
    auto run = simulate("0 dump\n1000 down Z\n1010 up Z\n2000 dump\n");
    const auto& d = run.dumps.at(1);
    EXPECT_EQ(d["t"], 2000);
    EXPECT_EQ(d["gamePlaying"], true);
    EXPECT_EQ(d["score"], 0);
    EXPECT_EQ(d["highRest"], 3);
    EXPECT_EQ(d["shipRow"], 2);
    EXPECT_EQ(d["beamRow"], 2);
    EXPECT_EQ(label(d, "Myship")["visible"], true);
    EXPECT_EQ(label(d, "Myship")["left"], 8);
    EXPECT_EQ(label(d, "Myship")["top"], 64);
    EXPECT_EQ(label(d, "Myship")["caption"], ">");
    EXPECT_EQ(label(d, "Bgtxt")["caption"], "J");
    EXPECT_EQ(label(d, "txtScore")["caption"], "0");
    EXPECT_EQ(label(d, "txtRest")["caption"], "3");
    EXPECT_EQ(label(d, "txtInfo")["caption"], "Mssl:Z      High:X");
    EXPECT_EQ(label(d, "txtEvent")["caption"], "");
    EXPECT_EQ(label(d, "txtTitle")["caption"], "");
    EXPECT_EQ(d["timers"]["TimeEvent"]["enabled"], false);
    EXPECT_EQ(d["timers"]["TimeEnemy"]["enabled"], true);
    EXPECT_EQ(d["timers"]["TimeBeam"]["enabled"], true);
    for (int i = 0; i <= 4; ++i) {
        EXPECT_EQ(label(d, "Enemy(" + std::to_string(i) + ")")["visible"], true) << i;
        EXPECT_EQ(leftOf(d, i), 264) << "not moved by the start";
    }
    EXPECT_EQ(label(d, "Enemy(5)")["visible"], false);
}

TEST(Start, SwitchesToThePlayMusicFromItsStart) {
    auto run = simulate("0 dump\n1000 down Z\n1010 up Z\n2000 dump\n");
    std::string open = std::string("open ") + VANTORIX_MEDIA_DIR + "/bgm.mid type sequencer alias midifile";
    EXPECT_EQ(run.dumps[1]["mci"], (testing::Json{"stop midifile ", "close midifile", open,
                                                  "seek midifile to 1", "resume midifile "}));
    EXPECT_EQ(run.dumps[1]["music"]["file"], "bgm.mid");
    EXPECT_EQ(run.dumps[1]["music"]["mode"], "playing");
}

TEST(Start, KeepsWhatTheLastGameLeft) {
    GameRig rig;
    rig.game.pushOffset = 4;
    rig.game.beamFlying = true;
    rig.enemy(1).move(296, 32);
    rig.game.Beam.move(0, 168);
    rig.start();
    EXPECT_TRUE(rig.game.beamFlying);
    EXPECT_EQ(rig.game.pushOffset, 4);
    EXPECT_EQ(rig.enemy(1).left(), 296);
    EXPECT_EQ(rig.game.Beam.top(), 168);
    EXPECT_EQ(rig.game.hiScore, 10000);
}

TEST(Start, TheShipSmilesOnlyWhileTheHighScoreIsExactlyThirtyThousand) {
    for (auto [hi, glyph] : {std::pair{30000, "J"}, std::pair{30100, ">"}, std::pair{29900, ">"}}) {
        GameRig rig;
        rig.game.hiScore = hi;
        rig.start();
        EXPECT_EQ(rig.game.Myship.caption(), glyph) << hi;
    }
}

TEST(Start, TheTitleMusicNeverComesBack) {
    auto run = simulate("1000 down Z\n1010 up Z\n14000 dump\n60000 dump\n");
    EXPECT_EQ(run.dumps[0]["gamePlaying"], false);
    EXPECT_EQ(run.dumps[1]["music"]["file"], "bgm.mid");
    EXPECT_EQ(run.dumps[1]["music"]["mode"], "paused");
}

}  // namespace
}  // namespace vantorix
