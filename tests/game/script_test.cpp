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

}  // namespace
}  // namespace vantorix
