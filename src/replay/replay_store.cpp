#include "replay/replay_store.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <set>

#include "desktop/user_files.h"
#include "replay/replay_file.h"

namespace vantorix {

namespace {

constexpr std::string_view kExtension = ".vtxreplay";

bool newer(const KeptReplay& a, const KeptReplay& b) {
    if (a.header.startedAt != b.header.startedAt) return a.header.startedAt > b.header.startedAt;
    return a.file.filename() > b.file.filename();
}

bool better(const KeptReplay& a, const KeptReplay& b) {
    if (a.header.score != b.header.score) return a.header.score > b.header.score;
    return newer(a, b);
}

std::string localTime(std::int64_t seconds, const char* format) {
    std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    char text[64] = "?";
    if (localtime_r(&t, &local)) std::strftime(text, sizeof text, format, &local);
    return text;
}

std::string minutes(std::int64_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(ms / 60000),
                  static_cast<long long>(ms / 1000 % 60));
    return text;
}

}  // namespace

std::filesystem::path replayFolder(const char* xdgDataHome, const char* home) {
    auto base = xdgFolder(xdgDataHome, home, ".local/share");
    return base.empty() ? base : base / "vantorix" / "replays";
}

std::filesystem::path replayFolder() { return replayFolder(std::getenv("XDG_DATA_HOME"), homeFolder().c_str()); }

std::vector<KeptReplay> keptReplays(const std::filesystem::path& folder, std::vector<std::string>* refused) {
    std::vector<KeptReplay> kept;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().extension() != kExtension) continue;
        std::string whyNot;
        if (auto replay = readReplay(entry.path(), whyNot))
            kept.push_back({entry.path(), replay->header});
        else if (refused)
            refused->push_back(entry.path().string() + ": " + whyNot);
    }
    std::ranges::sort(kept, better);
    return kept;
}

bool keepReplay(const std::filesystem::path& folder, const ReplayHeader& header, const std::string& file,
                std::string& whyNot) {
    if (folder.empty()) {
        whyNot = "cannot keep the replay: no home folder";
        return false;
    }
    std::string stem = localTime(header.startedAt, "%Y-%m-%d_%H%M%S") + "_" + std::to_string(header.score);
    std::filesystem::path name = folder / (stem + std::string(kExtension));
    std::error_code error;
    for (int n = 2; std::filesystem::exists(name, error); ++n)
        name = folder / (stem + "_" + std::to_string(n) + std::string(kExtension));
    std::string why;
    if (!writeFileAtomically(name, file, why)) {
        whyNot = "cannot keep the replay in " + folder.string() + ": " + why;
        return false;
    }
    auto kept = keptReplays(folder);
    std::set<std::filesystem::path> keep;
    for (std::size_t i = 0; i < kept.size() && i < kKeepBest; ++i) keep.insert(kept[i].file);
    std::ranges::sort(kept, newer);
    for (std::size_t i = 0; i < kept.size() && i < kKeepLatest; ++i) keep.insert(kept[i].file);
    for (const KeptReplay& r : kept)
        if (!keep.contains(r.file)) std::filesystem::remove(r.file, error);
    return true;
}

std::filesystem::path resolveReplay(const std::filesystem::path& folder, const std::string& name,
                                    std::string& whyNot) {
    if (name != "best" && name != "last") return name;
    auto kept = keptReplays(folder);
    if (kept.empty()) {
        whyNot = "no games are kept in " + folder.string() + " yet";
        return {};
    }
    if (name == "last") std::ranges::sort(kept, newer);
    return kept.front().file;
}

std::string replayListing(const std::vector<KeptReplay>& replays) {
    std::string out;
    char line[512];
    std::snprintf(line, sizeof line, "%-16s  %6s  %-14s  %6s  %s\n", "date", "score", "end", "length", "file");
    out += line;
    for (const KeptReplay& r : replays) {
        std::snprintf(line, sizeof line, "%-16s  %6lld  %-14s  %6s  %s\n",
                      localTime(r.header.startedAt, "%Y-%m-%d %H:%M").c_str(),
                      static_cast<long long>(r.header.score), std::string(endingName(r.header.ending)).c_str(),
                      minutes(r.header.lengthMs).c_str(), r.file.filename().c_str());
        out += line;
    }
    return out;
}

}  // namespace vantorix
