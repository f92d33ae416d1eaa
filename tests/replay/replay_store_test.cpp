// Where games are kept, which stay, and the listing.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "games.h"
#include "replay/replay_store.h"

namespace vantorix {
namespace {

class ReplayStore : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() / ("replay_store_test_" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder);
        game = testing::readGame("dekopin.vtxreplay");
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    // A game of that date and score, as the recorder hands it over.
    void keep(std::int64_t startedAt, std::int64_t score) {
        game.header = {startedAt, score, Ending::Mayday, 9000};
        std::string whyNot;
        ASSERT_TRUE(keepReplay(folder, game.header, encodeReplay(game), whyNot)) << whyNot;
    }
    std::filesystem::path folder;
    Replay game;
    std::string file = "a replay";
};

TEST(ReplayFolder, FollowsXdgDataHomeThenTheHomeFolder) {
    EXPECT_EQ(replayFolder("/data", "/home/p"), "/data/vantorix/replays");
    EXPECT_EQ(replayFolder(nullptr, "/home/p"), "/home/p/.local/share/vantorix/replays");
    EXPECT_EQ(replayFolder("relative", "/home/p"), "/home/p/.local/share/vantorix/replays");
    EXPECT_EQ(replayFolder(nullptr, nullptr), "");
}

TEST_F(ReplayStore, TheLatestTwentyAndTheBestTenStay) {
    // Forty games: the scores rise to the 10th game, then stay low.
    for (int game = 1; game <= 40; ++game) keep(1000 * game, game <= 10 ? 5000 + game : game);
    auto kept = keptReplays(folder);
    ASSERT_EQ(kept.size(), 30u);
    EXPECT_EQ(kept.front().header.score, 5010) << "best first";
    EXPECT_EQ(kept[9].header.score, 5001);
    for (std::size_t i = 10; i < kept.size(); ++i) EXPECT_GE(kept[i].header.startedAt, 21000) << i;

    std::string whyNot;
    EXPECT_EQ(resolveReplay(folder, "best", whyNot), kept.front().file);
    EXPECT_EQ(readReplay(resolveReplay(folder, "last", whyNot), whyNot)->header.startedAt, 40000);
    EXPECT_EQ(resolveReplay(folder, "my.vtxreplay", whyNot), "my.vtxreplay");
}

TEST_F(ReplayStore, TheListingIsOneLineAGameBestFirst) {
    keep(1000, 300);
    keep(2000, 30000);
    std::string listing = replayListing(keptReplays(folder));
    auto first = listing.find("30000"), second = listing.find("  300  ");
    ASSERT_NE(first, std::string::npos) << listing;
    EXPECT_LT(first, second) << listing;
    EXPECT_NE(listing.find("Mayday!!"), std::string::npos);
    EXPECT_NE(listing.find("0:09"), std::string::npos) << "its length";
    EXPECT_EQ(std::count(listing.begin(), listing.end(), '\n'), 3);
}

TEST_F(ReplayStore, AFolderThatCannotBeMadeCostsALineNotTheGame) {
    // A file where the folder should be: refused even to root.
    std::ofstream(folder) << "in the way";
    std::string whyNot;
    EXPECT_FALSE(keepReplay(folder / "replays", {1, 2, Ending::Mayday, 3}, file, whyNot));
    EXPECT_NE(whyNot.find(folder.string()), std::string::npos) << whyNot;
}

TEST_F(ReplayStore, NoHomeMeansNothingKept) {
    std::string whyNot;
    EXPECT_FALSE(keepReplay("", {1, 2, Ending::Mayday, 3}, file, whyNot));
    EXPECT_NE(whyNot, "");
}

TEST_F(ReplayStore, FilesThatAreNoReplaysAreNamedAndLeftAlone) {
    keep(1000, 100);
    std::filesystem::path stray = folder / "notes.vtxreplay";
    std::ofstream(stray) << "my notes";
    std::vector<std::string> refused;
    EXPECT_EQ(keptReplays(folder, &refused).size(), 1u);
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_NE(refused[0].find("not a Vantorix replay"), std::string::npos);
    for (int game = 2; game <= 40; ++game) keep(1000 * game, game);
    EXPECT_TRUE(std::filesystem::exists(stray)) << "never removed";
}

}  // namespace
}  // namespace vantorix
