#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "replay/replay.h"

namespace vantorix {

// Where the games are kept: $XDG_DATA_HOME/vantorix/replays, by default
// ~/.local/share/vantorix/replays; empty when there is no home.
std::filesystem::path replayFolder();
std::filesystem::path replayFolder(const char* xdgDataHome, const char* home);

struct KeptReplay {
    std::filesystem::path file;
    ReplayHeader header;
};

// How many of the latest games, and of the best, are kept.
constexpr std::size_t kKeepLatest = 20;
constexpr std::size_t kKeepBest = 10;

// The replays in `folder`, best first (the newer first between equal scores).
// Files that are no replays of ours are left out and, when `refused` is
// given, named there with the reason.
std::vector<KeptReplay> keptReplays(const std::filesystem::path& folder,
                                    std::vector<std::string>* refused = nullptr);

// Writes a finished game into `folder` under a name of its date and score,
// then removes the games that are neither among the latest nor the best.
bool keepReplay(const std::filesystem::path& folder, const ReplayHeader& header, const std::string& file,
                std::string& whyNot);

// "best" and "last" as the kept games name them; any other word is a file name.
// Empty, with the reason, when nothing is kept.
std::filesystem::path resolveReplay(const std::filesystem::path& folder, const std::string& name,
                                    std::string& whyNot);

// The listing of --replays: a heading, then one line a game.
std::string replayListing(const std::vector<KeptReplay>& replays);

}  // namespace vantorix
