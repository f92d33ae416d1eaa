#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vantorix {

// What the player needs to know of a Standard MIDI File: that it is well formed,
// and how its ticks map to time.
class MidiFile {
public:
    static std::optional<MidiFile> parse(std::span<const std::uint8_t> bytes, std::string& whyNot);

    int trackCount() const { return trackCount_; }
    std::int64_t totalTicks() const { return totalTicks_; }
    double tickToMs(std::int64_t tick) const;
    std::int64_t msToTick(double ms) const;
    std::int64_t lengthMs() const;

    // Songs are a few kilobytes; anything near this is not one of ours.
    static constexpr std::size_t kMaxBytes = 4 * 1024 * 1024;

private:
    // Time is kept exactly, in units of a microsecond divided by `divisor_`:
    // a tick lasts `microsPerTick` units.
    struct Tempo {
        std::int64_t tick;
        std::int64_t microsPerTick;
        std::int64_t startUnits;  // the time the segment starts at
    };
    const Tempo& segmentAtTick(std::int64_t tick) const;
    std::int64_t unitsAt(std::int64_t tick) const;
    void addTempo(std::int64_t tick, std::int64_t microsPerTick);

    int trackCount_ = 0;
    std::int64_t totalTicks_ = 0;
    std::int64_t divisor_ = 1;
    std::vector<Tempo> tempos_;  // sorted by tick, the first at tick 0
};

}  // namespace vantorix
