#pragma once

#include <bitset>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vantorix {

// A Standard MIDI File (or one wrapped in RIFF, as .rmi files are) read as a
// tolerant player reads it: what it plays, and how its ticks map to time. Only
// a file without a usable header or without a usable track is refused.
class MidiFile {
public:
    static std::optional<MidiFile> parse(std::span<const std::uint8_t> bytes, std::string& whyNot);

    // The song as the synthesizer gets it: a plain file of the events read, each
    // with its own status byte, timed in ticks of a quarter note.
    const std::vector<std::uint8_t>& playable() const { return playable_; }

    int trackCount() const { return trackCount_; }
    // The programs its program changes select, on any channel.
    const std::bitset<128>& programs() const { return programs_; }
    // The most notes it sounds at once, held by their keys or by the sustain
    // pedal: what the synthesizer's voices are counted from.
    int mostNotesAtOnce() const { return mostNotesAtOnce_; }
    std::int64_t totalTicks() const { return totalTicks_; }
    double tickToMs(std::int64_t tick) const;
    std::int64_t msToTick(double ms) const;
    std::int64_t lengthMs() const;

    // Songs are kilobytes; a file this large would play for hours.
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

    std::vector<std::uint8_t> playable_;
    int trackCount_ = 0;
    std::bitset<128> programs_;
    int mostNotesAtOnce_ = 0;
    std::int64_t totalTicks_ = 0;
    std::int64_t divisor_ = 1;
    std::vector<Tempo> tempos_;  // sorted by tick, the first at tick 0
};

}  // namespace vantorix
