#pragma once

#include "bytes.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace media {

// Collects events at absolute tick positions; delta times are only worked out
// when the track is encoded, so parts can be written in any order.
class MidiTrack {
public:
    void trackName(std::string_view name);
    void tempo(int beatsPerMinute);
    void timeSignature(int numerator, int denominatorPowerOfTwo);
    void programChange(int channel, int program);
    void controlChange(int channel, int controller, int value);
    void note(int channel, int key, int velocity, std::uint32_t start, std::uint32_t length);
    void endAt(std::uint32_t tick);

    Bytes encode() const;

private:
    // At equal ticks, setup comes first and note-offs precede note-ons so a
    // repeated pitch is released before it is struck again.
    enum class Order { setup, noteOff, noteOn };

    struct Event {
        std::uint32_t tick;
        Order order;
        Bytes data;
    };

    void add(std::uint32_t tick, Order order, Bytes data);
    void addMeta(std::uint8_t type, const Bytes& payload);

    std::vector<Event> events_;
    std::uint32_t end_ = 0;
};

Bytes encodeMidiFile(int ticksPerQuarter, const std::vector<MidiTrack>& tracks);

} // namespace media
