#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "replay/replay.h"

namespace vantorix {

// The file format's version; a file of any other is refused.
constexpr std::uint8_t kReplayVersion = 1;
// Far more than the longest game needs: a bigger file is not ours.
constexpr std::size_t kMaxReplayBytes = 4 << 20;

// Writes a game as it is played: its events go straight into their compact form,
// so a long game holds tens of kilobytes, not a list of structures.
class ReplayWriter {
public:
    // `atMs` never goes back.
    void event(std::int64_t atMs, const InputEvent& event);
    void paused(std::int64_t ms);
    void check(std::int64_t score, std::uint64_t stateHash);
    std::size_t events() const { return events_; }
    // The whole file.
    std::string finish(const ReplayHeader& header, const std::vector<std::string>& timers,
                       const GameState& start, const std::vector<std::int64_t>& seeds) const;

private:
    std::string records_;
    std::int64_t lastAt_ = 0;
    std::size_t events_ = 0;
};

std::string encodeReplay(const Replay& replay);
// The replay a file holds; nothing, and why, when it is damaged, of another
// version or not a replay at all.
std::optional<Replay> decodeReplay(std::span<const std::uint8_t> bytes, std::string& whyNot);
// Reads and decodes a file; the reason names what is wrong, not the file.
std::optional<Replay> readReplay(const std::string& path, std::string& whyNot);

}  // namespace vantorix
