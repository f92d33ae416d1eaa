#pragma once

#include <bitset>
#include <cstdint>
#include <span>
#include <vector>

namespace vantorix {

// Tracks end here at the latest: every delta time of a rewritten track then
// fits the four bytes the file format allows.
constexpr std::int64_t kMaxMidiTicks = (std::int64_t{1} << 28) - 1;

struct TempoEvent {
    std::int64_t tick;
    std::uint32_t microsPerQuarter;
};

// A channel message that starts or ends notes: note on and off, the sustain
// pedal, all notes off, all sound off.
struct NoteEvent {
    std::int64_t tick;
    std::uint8_t status;
    std::uint8_t data[2];
};

// One track as a tolerant player reads it, rewritten for the synthesizer.
struct MidiTrack {
    // The events it plays, each with its own status byte, then the end of track.
    std::vector<std::uint8_t> body;
    std::int64_t endTick = 0;
    // The programs its program changes select.
    std::bitset<128> programs;
    // The messages that start or end its notes.
    std::vector<NoteEvent> notes;
    // At least one event could be read.
    bool usable = false;
};

// Reads a track's events, skipping what a player does not understand: undefined
// and system status bytes with their data, SysEx continuations, meta events of a
// malformed length, channel mode changes (they become "all notes off"). Running
// status survives meta and SysEx events. Where the data cannot be followed any
// more, the track ends with the last event read. Tempo changes go to `tempos`;
// with `timeCode` they have no meaning and are left out.
MidiTrack readMidiTrack(std::span<const std::uint8_t> data, bool timeCode,
                        std::vector<TempoEvent>& tempos);

// The most notes sounding at once among `events`, those of every track: a note
// sounds from its note-on to its note-off, or while the sustain pedal holds it;
// a key struck again ends its note before, as the synthesizer does.
int mostNotesSounding(std::vector<NoteEvent> events);

}  // namespace vantorix
