#include "midi_writer.h"

#include <algorithm>

namespace media {
namespace {

void appendVariableLength(Bytes& out, std::uint32_t value)
{
    Bytes reversed{static_cast<std::uint8_t>(value & 0x7F)};
    while ((value >>= 7) != 0) {
        reversed.push_back(static_cast<std::uint8_t>((value & 0x7F) | 0x80));
    }
    out.insert(out.end(), reversed.rbegin(), reversed.rend());
}

std::uint8_t statusByte(int kind, int channel)
{
    return static_cast<std::uint8_t>(kind | (channel & 0x0F));
}

std::uint8_t dataByte(int value)
{
    return static_cast<std::uint8_t>(std::clamp(value, 0, 127));
}

void appendChunk(Bytes& out, std::string_view tag, const Bytes& body)
{
    appendTag(out, tag);
    appendBigEndian(out, static_cast<std::uint32_t>(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
}

} // namespace

void MidiTrack::add(std::uint32_t tick, Order order, Bytes data)
{
    events_.push_back({tick, order, std::move(data)});
    end_ = std::max(end_, tick);
}

void MidiTrack::addMeta(std::uint8_t type, const Bytes& payload)
{
    Bytes data{0xFF, type};
    appendVariableLength(data, static_cast<std::uint32_t>(payload.size()));
    data.insert(data.end(), payload.begin(), payload.end());
    add(0, Order::setup, std::move(data));
}

void MidiTrack::trackName(std::string_view name)
{
    addMeta(0x03, Bytes(name.begin(), name.end()));
}

void MidiTrack::tempo(int beatsPerMinute)
{
    Bytes payload;
    appendBigEndian(payload, static_cast<std::uint32_t>(60'000'000 / beatsPerMinute), 3);
    addMeta(0x51, payload);
}

void MidiTrack::timeSignature(int numerator, int denominatorPowerOfTwo)
{
    // 24 MIDI clocks per metronome click, 8 thirty-seconds per quarter note.
    addMeta(0x58, {dataByte(numerator), dataByte(denominatorPowerOfTwo), 24, 8});
}

void MidiTrack::programChange(int channel, int program)
{
    add(0, Order::setup, {statusByte(0xC0, channel), dataByte(program)});
}

void MidiTrack::controlChange(int channel, int controller, int value)
{
    add(0, Order::setup, {statusByte(0xB0, channel), dataByte(controller), dataByte(value)});
}

void MidiTrack::note(int channel, int key, int velocity, std::uint32_t start, std::uint32_t length)
{
    add(start, Order::noteOn, {statusByte(0x90, channel), dataByte(key), dataByte(velocity)});
    add(start + length, Order::noteOff, {statusByte(0x80, channel), dataByte(key), 64});
}

void MidiTrack::endAt(std::uint32_t tick)
{
    end_ = std::max(end_, tick);
}

Bytes MidiTrack::encode() const
{
    std::vector<Event> sorted = events_;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Event& a, const Event& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });

    Bytes body;
    std::uint32_t previous = 0;
    for (const Event& event : sorted) {
        appendVariableLength(body, event.tick - previous);
        body.insert(body.end(), event.data.begin(), event.data.end());
        previous = event.tick;
    }
    appendVariableLength(body, end_ - previous);
    body.insert(body.end(), {0xFF, 0x2F, 0x00});

    Bytes chunk;
    appendChunk(chunk, "MTrk", body);
    return chunk;
}

Bytes encodeMidiFile(int ticksPerQuarter, const std::vector<MidiTrack>& tracks)
{
    Bytes header;
    appendBigEndian(header, tracks.size() == 1 ? 0 : 1, 2);
    appendBigEndian(header, static_cast<std::uint32_t>(tracks.size()), 2);
    appendBigEndian(header, static_cast<std::uint32_t>(ticksPerQuarter), 2);

    Bytes file;
    appendChunk(file, "MThd", header);
    for (const MidiTrack& track : tracks) {
        const Bytes chunk = track.encode();
        file.insert(file.end(), chunk.begin(), chunk.end());
    }
    return file;
}

} // namespace media
