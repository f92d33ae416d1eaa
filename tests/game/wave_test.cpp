// The enemy wave: the march, respawns, the two losses and the mission's end.
#include <gtest/gtest.h>

#include <map>

#include "support/game_rig.h"
#include "support/sim_run.h"

namespace vantorix {
namespace {

using testing::expectShown;
using testing::GameRig;
using testing::label;
using testing::leftOf;
using testing::simulate;

// Sends every enemy but `keep` far beyond the right edge.
void clearLanesBut(GameRig& rig, int keep) {
    for (int i = 0; i <= 4; ++i)
        if (i != keep) rig.enemy(i).setLeft(456 + 32 * 20);
}

TEST(March, TheFirstGameReachesTheShipAfterEightStepsLaterGamesAfterTen) {
    GameRig rig;
    rig.start();
    for (int step = 1; step <= 7; ++step) rig.game.TimeEnemy_Timer();
    EXPECT_TRUE(rig.game.gamePlaying);
    EXPECT_EQ(rig.enemy(2).left(), 40);
    rig.game.TimeEnemy_Timer();
    EXPECT_FALSE(rig.game.gamePlaying);
    EXPECT_EQ(rig.game.Myship.caption(), "N");

    rig.start();
    for (int step = 1; step <= 9; ++step) rig.game.TimeEnemy_Timer();
    EXPECT_TRUE(rig.game.gamePlaying);
    rig.game.TimeEnemy_Timer();
    EXPECT_FALSE(rig.game.gamePlaying);
}

TEST(March, EveryElementStepsInLockStep) {
    GameRig rig;
    rig.start();
    rig.enemy(4).setVisible(false);
    rig.enemy(4).move(0, 256);
    rig.game.TimeEnemy_Timer();
    for (int i = 0; i <= 3; ++i) EXPECT_EQ(rig.enemy(i).left(), 232) << i;
    // The destroyed one steps too, unless this tick brought it back.
    if (!rig.enemy(4).visible()) {
        EXPECT_EQ(rig.enemy(4).left(), -32);
    }
    EXPECT_EQ(rig.enemy(5).left(), 264) << "element 5 never moves";
}

TEST(Collision, DekopinWhenAnEnemyStepsOntoTheShip) {
    GameRig rig;
    rig.start();
    clearLanesBut(rig, 2);
    rig.enemy(2).setLeft(40);
    rig.game.TimeEnemy_Timer();
    EXPECT_FALSE(rig.game.gamePlaying);
    EXPECT_EQ(rig.game.Myship.caption(), "N");
    auto sounds = rig.sounds.takeSounds();
    ASSERT_EQ(sounds.size(), 2u);
    EXPECT_EQ(sounds[0].first, "miss.wav");
    EXPECT_EQ(sounds[1].first, "gameover.wav");
}

TEST(Collision, ShowsWhyBeforeTheMissSound) {
    // The frame is drawn before each sound that holds the game, so it shows for the sound's length.
    GameRig rig;
    rig.start();
    clearLanesBut(rig, 2);
    rig.enemy(2).setLeft(40);
    rig.game.TimeEnemy_Timer();
    expectShown(rig.during("miss.wav"),
                {{"txtTitle", "Dekopin!!"}, {"Bgtxt", "B"}, {"Myship", "N"}});
    expectShown(rig.during("gameover.wav"), {{"txtTitle", "Game Over"}, {"Bgtxt", "U"}});
}

TEST(Collision, OnlyAtTheStepOntoEightInTheShipsLane) {
    GameRig rig;
    rig.start();
    clearLanesBut(rig, 2);
    rig.enemy(2).setLeft(40);
    rig.key(vbKeyUp);
    rig.game.TimeEnemy_Timer();  // onto 8, the ship is in lane 1
    EXPECT_TRUE(rig.game.gamePlaying);
    rig.key(vbKeyDown);  // into the enemy's square: no collision
    rig.game.TimeEnemy_Timer();  // -24: not yet past
    EXPECT_TRUE(rig.game.gamePlaying);
    EXPECT_EQ(rig.game.Myship.caption(), ">");
    rig.game.TimeEnemy_Timer();  // -56: Mayday
    EXPECT_FALSE(rig.game.gamePlaying);
    EXPECT_EQ(rig.game.txtTitle.caption(), "Game Over");
    EXPECT_EQ(rig.game.Bgtxt.caption(), "U");
    EXPECT_EQ(rig.game.Myship.caption(), ">") << "Mayday leaves the ship's glyph";
}

TEST(Collision, MaydayShowsTheFrowningFaceFirst) {
    GameRig rig;
    rig.start();
    std::vector<std::string> frames;
    Module1::install({&rig.media, &rig.sounds, [&] {
                          frames.push_back(rig.game.Bgtxt.caption() + " " +
                                           rig.game.txtTitle.caption());
                      },
                      nullptr});
    clearLanesBut(rig, 0);
    rig.enemy(0).setLeft(-24);
    rig.game.TimeEnemy_Timer();
    EXPECT_FALSE(rig.game.gamePlaying);
    EXPECT_EQ(frames, (std::vector<std::string>{"L Mayday!!", "U Game Over"}));
}

TEST(Collision, ADestroyedEnemyNeverCausesMayday) {
    GameRig rig;
    rig.start();
    clearLanesBut(rig, -1);
    for (int i = 0; i <= 4; ++i) rig.enemy(i).setLeft(456 + 32 * 40);
    rig.enemy(1).setVisible(false);
    rig.enemy(1).move(-200, 256);
    for (int step = 0; step < 10; ++step) {
        rig.game.TimeEnemy_Timer();
        // Bring it back down if this tick respawned it.
        if (rig.enemy(1).visible()) {
            rig.enemy(1).setVisible(false);
            rig.enemy(1).move(-200 - 32 * step, 256);
        }
    }
    EXPECT_TRUE(rig.game.gamePlaying);
}

TEST(Collision, TheLoopGoesOnAfterGameOver) {
    GameRig rig;
    rig.start();
    for (int i = 0; i <= 4; ++i) rig.enemy(i).setLeft(72);
    rig.enemy(1).setLeft(40);
    rig.key(vbKeyUp);  // the ship in lane 1
    rig.game.TimeEnemy_Timer();
    EXPECT_FALSE(rig.game.gamePlaying);
    EXPECT_EQ(rig.enemy(0).left(), 328);
    EXPECT_EQ(rig.enemy(1).left(), 328);
    for (int i = 2; i <= 4; ++i) EXPECT_EQ(rig.enemy(i).left(), 296) << i;
    EXPECT_EQ(rig.sounds.takeSounds().size(), 2u) << "game over runs once";
}

// Destroys every enemy, runs the wave's tick and says which lane's came back.
int laneBroughtBack(GameRig& rig) {
    for (int i = 0; i <= 4; ++i) {
        rig.enemy(i).setVisible(false);
        rig.enemy(i).move(0, 256);
    }
    rig.game.TimeEnemy_Timer();
    for (int i = 0; i <= 5; ++i)
        if (rig.enemy(i).visible()) return i;
    return -1;
}

TEST(Respawn, LanesZeroAndFourComeBackHalfAsOften) {
    // A fraction scaled to 0..4 and rounded: the end lanes get half a share.
    GameRig rig;
    rig.start();
    std::map<int, int> counts;
    const int ticks = 20000;
    for (int t = 0; t < ticks; ++t) ++counts[laneBroughtBack(rig)];
    EXPECT_NEAR(counts[0] / double(ticks), 0.125, 0.01);
    EXPECT_NEAR(counts[2] / double(ticks), 0.25, 0.01);
    EXPECT_NEAR(counts[4] / double(ticks), 0.125, 0.01);
}

TEST(Respawn, GamesStartedSixtyFiveSecondsApartDrawOtherLanes) {
    // The time of day seeds the draws to the millisecond: 65.536 s apart is another game.
    auto lanes = [](std::int64_t startAtMs) {
        GameRig rig;
        rig.clock.advanceBy(startAtMs);
        rig.start();
        std::string drawn;
        for (int t = 0; t < 30; ++t) drawn += std::to_string(laneBroughtBack(rig));
        return drawn;
    };
    EXPECT_EQ(lanes(5000), lanes(5000));
    EXPECT_NE(lanes(5000), lanes(5000 + 65536));
}

TEST(Respawn, ADestroyedEnemyComesBackAtTheEdgeAndIsFirstSeenAt232) {
    GameRig rig;
    rig.start();
    for (int i = 0; i <= 4; ++i) {
        rig.enemy(i).setVisible(false);
        rig.enemy(i).move(0, 256);
    }
    rig.game.TimeEnemy_Timer();
    int back = rig.game.spawnRow;
    for (int i = 0; i <= 4; ++i) {
        EXPECT_EQ(rig.enemy(i).visible(), i == back) << i;
        EXPECT_EQ(rig.enemy(i).left(), i == back ? 232 : -32) << i;
        EXPECT_EQ(rig.enemy(i).top(), i == back ? 32 * back : 256) << i;
    }
}

TEST(Respawn, ALiveEnemyIsLeftAlone) {
    GameRig rig;
    rig.start();
    for (int step = 0; step < 5; ++step) {
        rig.game.TimeEnemy_Timer();
        EXPECT_LE(rig.game.spawnRow, 4);
        for (int i = 0; i <= 4; ++i) EXPECT_EQ(rig.enemy(i).left(), 264 - 32 * (step + 1));
    }
}

TEST(MissionEnd, TwentyThousandIsTestedAtTheEndOfTheNextTick) {
    GameRig rig;
    rig.start();
    rig.game.score = 19900;
    rig.enemy(2).move(40, 64);
    rig.fire();
    rig.game.TimeBeam_Timer();
    EXPECT_EQ(rig.game.score, 20000);
    EXPECT_TRUE(rig.game.gamePlaying) << "a hit does not end the wave by itself";
    rig.game.TimeEnemy_Timer();
    EXPECT_FALSE(rig.game.gamePlaying);
    EXPECT_EQ(rig.game.score, 30000);
    EXPECT_EQ(rig.game.txtTitle.caption(), "Perfect!!!");
}

TEST(MissionEnd, AHighThatReachesTwentyThousandEndsItAtTheNextTick) {
    GameRig rig;
    rig.start();
    rig.game.score = 19500;
    rig.key(vbKeyX);
    EXPECT_TRUE(rig.game.gamePlaying);
    rig.game.TimeEnemy_Timer();
    EXPECT_FALSE(rig.game.gamePlaying);
    EXPECT_EQ(rig.game.score, 20000 + 2 * 3000 + 1000);
    EXPECT_EQ(rig.game.txtTitle.caption(), "Mission Over!!");
}

TEST(MissionEnd, BelowTwentyThousandTheWaveNeverEnds) {
    GameRig rig;
    rig.start();
    rig.game.score = 19900;
    clearLanesBut(rig, -1);
    rig.game.TimeEnemy_Timer();
    EXPECT_TRUE(rig.game.gamePlaying);
}

TEST(MissionEnd, GameOverThenClearInOneTick) {
    GameRig rig;
    rig.start();
    rig.game.score = 20000;
    clearLanesBut(rig, 2);
    rig.enemy(2).setLeft(40);
    rig.media.takeCommands();
    rig.game.TimeEnemy_Timer();
    EXPECT_EQ(rig.game.score, 30000);
    EXPECT_EQ(rig.game.txtTitle.caption(), "Perfect!!!");
    EXPECT_EQ(rig.game.Bgtxt.caption(), "P");
    EXPECT_EQ(rig.game.Myship.caption(), "J");
    std::vector<std::string> names;
    for (const auto& [file, flags] : rig.sounds.takeSounds()) names.push_back(file);
    EXPECT_EQ(names, (std::vector<std::string>{"miss.wav", "gameover.wav", "clear.wav"}));
    EXPECT_EQ(rig.media.takeCommands(),
              (std::vector<std::string>{"pause midifile ", "pause midifile "}));
    for (int i = 0; i <= 4; ++i) EXPECT_EQ(rig.enemy(i).left(), 328) << i;
}

TEST(WholeGame, TheFirstWaveReachesTheShipAtTenSeconds) {
    auto run = simulate("1000 down Z\n1010 up Z\n9990 dump\n10000 dump\n20000 dump\n");
    EXPECT_EQ(run.dumps[0]["gamePlaying"], true);
    EXPECT_EQ(leftOf(run.dumps[0], 2), 40);
    const auto& over = run.dumps[1];
    EXPECT_EQ(over["gamePlaying"], false);
    EXPECT_EQ(over["t"], 13500) << "miss.wav and gameover.wav held the clock";
    EXPECT_EQ(label(over, "Myship")["caption"], "N");
    EXPECT_EQ(label(over, "txtTitle")["caption"], "Game Over");
    EXPECT_EQ(over["sounds"], testing::Json::parse(R"([["miss.wav", 2], ["gameover.wav", 2]])"));
    EXPECT_EQ(over["music"]["mode"], "paused");
    EXPECT_EQ(run.dumps[2]["timers"]["TimeEvent"]["enabled"], true);
    EXPECT_EQ(label(run.dumps[2], "txtEvent")["caption"], "Push Z or X");
}

TEST(WholeGame, ManyGamesRunInOneEventLoop) {
    std::string script;
    const int games = 60;
    for (int g = 0; g < games; ++g) {
        int t = 1000 + g * 15000;
        script += std::to_string(t) + " down Z\n" + std::to_string(t + 20) + " up Z\n";
    }
    script += std::to_string(1000 + games * 15000) + " dump\n";
    auto run = simulate(script);
    ASSERT_EQ(run.status, 0);
    const auto& mci = run.dumps.at(0)["mci"];
    int loops = 0, resumes = 0;
    for (const auto& c : mci) {
        loops += c == "play midifile";
        resumes += c == "resume midifile ";
    }
    EXPECT_EQ(loops, 1) << "one music loop for the whole run";
    EXPECT_EQ(resumes, games);
}

}  // namespace
}  // namespace vantorix
