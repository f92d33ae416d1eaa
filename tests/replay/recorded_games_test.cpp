// Games recorded through the simulator, played again through today's rules: a
// change to the rules that changes any of them fails here, naming the event.
#include <gtest/gtest.h>

#include <filesystem>

#include "game/form_vtx.h"
#include "games.h"
#include "replay/verify.h"

namespace vantorix {
namespace {

using testing::readGame;

TEST(RecordedGames, EachEndsAsItDidWithEveryCheckMatching) {
    struct Kept {
        const char* file;
        std::int64_t score;
        Ending ending;
    };
    for (Kept kept : {Kept{"perfect.vtxreplay", 30000, Ending::Perfect},
                      Kept{"mission-over.vtxreplay", 27000, Ending::MissionOver},
                      Kept{"dekopin.vtxreplay", 0, Ending::Dekopin}, Kept{"mayday.vtxreplay", 300, Ending::Mayday}}) {
        Replay replay = readGame(kept.file);
        EXPECT_EQ(replay.header.score, kept.score) << kept.file;
        EXPECT_EQ(replay.header.ending, kept.ending) << kept.file;
        std::string title;
        auto differs = verifyReplay(replay, [&](const FormVTX& game, const Form&) {
            title = game.txtTitle.caption();
            EXPECT_EQ(game.score, kept.score) << kept.file;
        });
        EXPECT_EQ(differs, std::nullopt) << kept.file;
        EXPECT_EQ(title, kept.ending == Ending::Perfect       ? "Perfect!!!"
                         : kept.ending == Ending::MissionOver ? "Mission Over!!"
                                                              : "Game Over")
            << kept.file;
    }
}

TEST(RecordedGames, AGameThatGoesOtherwiseIsCaughtAtItsFirstDifferingCheck) {
    Replay replay = readGame("perfect.vtxreplay");
    ASSERT_GT(replay.checks.size(), 3u);
    // One Up more in the middle: the ship is elsewhere from then on.
    std::size_t middle = replay.checks[2].afterEvents - 5;
    ReplayEvent up = replay.events[middle];
    up.event = {InputEvent::Kind::KeyDown, 38};
    replay.events.insert(replay.events.begin() + static_cast<long>(middle), up);
    for (ReplayCheck& check : replay.checks)
        if (check.afterEvents > middle) ++check.afterEvents;
    auto differs = verifyReplay(replay);
    ASSERT_TRUE(differs);
    EXPECT_EQ(differs->rfind("event " + std::to_string(replay.checks[2].afterEvents) + " (", 0), 0u) << *differs;
    EXPECT_NE(differs->find("differs"), std::string::npos) << *differs;
}

TEST(RecordedGames, AnotherSeedIsAnotherGame) {
    Replay replay = readGame("perfect.vtxreplay");
    ASSERT_FALSE(replay.seeds.empty());
    replay.seeds.front() += 1;
    auto differs = verifyReplay(replay);
    ASSERT_TRUE(differs);
    EXPECT_EQ(differs->rfind("event ", 0), 0u) << *differs;
}

TEST(RecordedGames, AThreeMinuteGameFitsIn64Kilobytes) {
    Replay replay = readGame("perfect.vtxreplay");
    ASSERT_GT(replay.header.lengthMs, 60000);
    auto bytes = std::filesystem::file_size(testing::game("perfect.vtxreplay"));
    EXPECT_LE(bytes * 180000 / static_cast<std::uintmax_t>(replay.header.lengthMs), 64u * 1024);
}

}  // namespace
}  // namespace vantorix
