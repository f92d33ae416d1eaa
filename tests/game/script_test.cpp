// The simulator's script: what it accepts, what it refuses, and when it prints.
#include <gtest/gtest.h>

#include "support/sim_run.h"

namespace vantorix {
namespace {

using testing::simulate;

TEST(Script, MalformedLinesStopWithStatusTwoNamingTheLine) {
    for (const char* bad : {"0 dump\nhello\n", "0 dump\n10 jump Z\n", "0 dump\n10 down Q\n",
                            "0 dump\n10 down\n", "0 dump\n-5 dump\n", "0 dump\n10 dump now\n",
                            "0 dump\n10 png\n", "0 dump\n10 down 40000\n"}) {
        auto run = simulate(bad);
        EXPECT_EQ(run.status, 2) << bad;
        EXPECT_NE(run.errors.find("line 2"), std::string::npos) << bad << run.errors;
        EXPECT_EQ(run.dumps.size(), 1u) << "lines before the bad one were handled";
    }
}

TEST(Script, TimeNeverGoesBackwards) {
    auto run = simulate("0 dump\n500 dump\n400 dump\n");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.errors.find("line 3"), std::string::npos) << run.errors;
}

TEST(Script, CommentsBlankLinesAndKeyCodesAreAccepted) {
    auto run = simulate("# a comment\n\n   \n100 down 90\n100 down 37\n150 up 90\n3000 dump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.dumps.at(0)["gamePlaying"], true);
}

TEST(Script, ADumpComesAfterEverythingDueAtItsMoment) {
    // The prompt's blink at 250 has run by the dump at 250.
    auto run = simulate("249 dump\n250 dump\n");
    EXPECT_EQ(run.dumps[0]["blinkOn"], false);
    EXPECT_EQ(run.dumps[1]["blinkOn"], true);
}

TEST(Script, AfterTheEndDumpsShowTheFinalState) {
    auto run = simulate("100 down X\n105 up X\n2000 dump\n9000 dump\n");
    ASSERT_EQ(run.dumps.size(), 2u);
    EXPECT_EQ(run.dumps[0]["ended"], true);
    EXPECT_EQ(run.dumps[1]["ended"], true);
    EXPECT_EQ(run.dumps[1]["t"], 9000);
    EXPECT_EQ(run.dumps[0]["sounds"], testing::Json::parse(R"([["end.wav", 2]])"));
}

TEST(Script, TheSameScriptAndClockGiveTheSameGame) {
    std::string script = "100 down Z\n100 up Z\n";
    for (int t = 3000; t < 20000; t += 700) script += std::to_string(t) + " dump\n";
    auto a = simulate(script, VANTORIX_MEDIA_DIR, 8 * 3600 * 1000);
    auto b = simulate(script, VANTORIX_MEDIA_DIR, 8 * 3600 * 1000);
    EXPECT_EQ(a.dumps, b.dumps);
}

// A game played with taps of Z, Up and Down; with a pause of `pausedMs` at
// `pauseAt`, everything after it comes that much later.
std::string tappedGame(std::int64_t pauseAt = 0, std::int64_t pausedMs = 0) {
    std::string script;
    auto line = [&](std::int64_t t, const std::string& what) {
        if (pausedMs && t > pauseAt) t += pausedMs;
        script += std::to_string(t) + " " + what + "\n";
    };
    line(100, "down Z");
    line(150, "up Z");
    const char* keys[] = {"Z", "UP", "Z", "DOWN", "Z", "Z"};
    for (std::int64_t t = 2000, i = 0; t < 40000; t += 300, ++i) {
        if (pausedMs && t > pauseAt && t - 300 <= pauseAt) {
            script += std::to_string(pauseAt) + " pause\n";
            for (std::int64_t d = 500; d < pausedMs; d += 1000) script += std::to_string(pauseAt + d) + " dump\n";
            script += std::to_string(pauseAt + pausedMs) + " resume\n";
        }
        // Then hands off, so that the wave ends the game and the title screen reseeds.
        if (t < 20000) {
            line(t, std::string("down ") + keys[i % 6]);
            line(t + 50, std::string("up ") + keys[i % 6]);
        }
        line(t + 120, "dump");
    }
    return script;
}

TEST(Pause, APausedGameGoesOnAsOneNeverPausedOnlyLater) {
    const std::int64_t pauseAt = 10000, pausedMs = 3700;
    auto plain = simulate(tappedGame());
    auto paused = simulate(tappedGame(pauseAt, pausedMs));
    ASSERT_EQ(plain.status, 0) << plain.errors;
    ASSERT_EQ(paused.status, 0) << paused.errors;
    ASSERT_EQ(paused.dumps.size(), plain.dumps.size() + 4);

    std::size_t p = 0;
    testing::Json atPause;
    for (const auto& dump : plain.dumps) {
        std::int64_t t = dump["t"];
        if (t > pauseAt && atPause.is_null()) {
            // While paused nothing moves: no tick, no sound, the state as it stood.
            atPause = paused.dumps[p - 1];
            for (int i = 0; i < 4; ++i, ++p) {
                auto still = paused.dumps[p];
                EXPECT_EQ(still["labels"], atPause["labels"]);
                EXPECT_EQ(still["timers"], atPause["timers"]);
                EXPECT_TRUE(still["sounds"].empty() && still["mci"].empty()) << still.dump();
            }
        }
        auto later = paused.dumps[p++];
        EXPECT_EQ(later["t"], t + (t > pauseAt ? pausedMs : 0));
        later["t"] = t;
        ASSERT_EQ(later, dump) << "at " << t;
    }
    EXPECT_FALSE(plain.dumps.back()["gamePlaying"]) << "the game ended, and the next reseed was compared too";
}

}  // namespace
}  // namespace vantorix
