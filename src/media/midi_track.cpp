#include "media/midi_track.h"

#include <algorithm>

#include "media/byte_reader.h"

namespace vantorix {

namespace {

constexpr std::uint8_t kMeta = 0xFF;
constexpr std::uint8_t kSysEx = 0xF0;
constexpr std::uint8_t kSysExEscape = 0xF7;
constexpr std::uint8_t kEndOfTrack = 0x2F;
constexpr std::uint8_t kTempo = 0x51;
constexpr std::uint8_t kAllNotesOff = 0x7B;
constexpr std::uint8_t kAllSoundOff = 0x78;
constexpr std::uint8_t kSustain = 0x40;
constexpr std::uint8_t kProgramChange = 0xC0;

// Data bytes after a channel status byte: one for program change and channel
// pressure, two for the rest.
std::size_t channelDataBytes(std::uint8_t status) {
    std::uint8_t kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

// Data bytes of the system messages that have no place in a file.
std::size_t systemDataBytes(std::uint8_t status) {
    switch (status) {
        case 0xF1:  // time code quarter frame
        case 0xF3:  // song select
            return 1;
        case 0xF2:  // song position
            return 2;
        default:  // tune request, undefined, real-time
            return 0;
    }
}

// Meta events whose length the synthesizer's reader checks, with a wrong length.
bool malformedMeta(std::uint8_t type, std::size_t length) {
    switch (type) {
        case 0x54: return length != 5;  // SMPTE offset
        case 0x58: return length != 4;  // time signature
        case 0x59: return length != 2;  // key signature
        default: return false;
    }
}

bool startsOrEndsNotes(std::uint8_t status, std::span<const std::uint8_t> data) {
    std::uint8_t kind = status & 0xF0;
    return kind == 0x80 || kind == 0x90 ||
           (kind == 0xB0 && (data[0] == kSustain || data[0] == kAllSoundOff || data[0] == kAllNotesOff));
}

// Omni off and on, mono and poly: a General MIDI player ignores these but for
// the "all notes off" they imply.
bool channelModeChange(std::uint8_t status, std::span<const std::uint8_t> data) {
    return (status & 0xF0) == 0xB0 && data[0] >= 124 && data[0] <= 127;
}

class TrackWriter {
public:
    void event(std::int64_t tick, std::initializer_list<std::span<const std::uint8_t>> parts) {
        putVlq(static_cast<std::uint32_t>(tick - lastTick_));
        for (auto part : parts) body_.insert(body_.end(), part.begin(), part.end());
        lastTick_ = tick;
    }
    void withLength(std::int64_t tick, std::span<const std::uint8_t> head,
                    std::span<const std::uint8_t> payload) {
        putVlq(static_cast<std::uint32_t>(tick - lastTick_));
        body_.insert(body_.end(), head.begin(), head.end());
        putVlq(static_cast<std::uint32_t>(payload.size()));
        body_.insert(body_.end(), payload.begin(), payload.end());
        lastTick_ = tick;
    }
    std::vector<std::uint8_t> finish(std::int64_t endTick) {
        const std::uint8_t end[] = {kMeta, kEndOfTrack, 0};
        event(endTick, {end});
        return std::move(body_);
    }

private:
    void putVlq(std::uint32_t value) {
        std::uint8_t groups[5];
        int n = 0;
        do {
            groups[n++] = value & 0x7F;
            value >>= 7;
        } while (value != 0);
        while (n-- > 0) body_.push_back(static_cast<std::uint8_t>(groups[n] | (n > 0 ? 0x80 : 0)));
    }

    std::vector<std::uint8_t> body_;
    std::int64_t lastTick_ = 0;
};

}  // namespace

MidiTrack readMidiTrack(std::span<const std::uint8_t> data, bool timeCode,
                        std::vector<TempoEvent>& tempos) {
    ByteReader r(data);
    TrackWriter out;
    MidiTrack track;
    std::int64_t tick = 0;
    std::uint8_t running = 0;
    while (!r.atEnd()) {
        std::uint32_t delta;
        if (!r.vlq(delta) || tick + delta > kMaxMidiTicks || !r.has(1)) break;
        const std::int64_t at = tick + delta;
        const std::uint8_t status = r.peek();
        if (status == kMeta) {
            r.skip(1);
            std::uint32_t length;
            if (!r.has(1)) break;
            const std::uint8_t head[] = {kMeta, r.byte()};
            if (!r.vlq(length) || !r.has(length)) break;
            auto payload = r.take(length);
            tick = at;
            track.usable = true;
            if (head[1] == kEndOfTrack) break;
            if (head[1] == kTempo) {
                std::uint32_t micros =
                    length == 3 ? (payload[0] << 16) | (payload[1] << 8) | payload[2] : 0;
                if (micros == 0 || timeCode) continue;
                tempos.push_back({at, micros});
            } else if (malformedMeta(head[1], length)) {
                continue;
            }
            out.withLength(at, head, payload);
        } else if (status == kSysEx || status == kSysExEscape) {
            r.skip(1);
            std::uint32_t length;
            if (!r.vlq(length) || !r.has(length)) break;
            auto payload = r.take(length);
            tick = at;
            track.usable = true;
            const std::uint8_t head[] = {kSysEx};
            if (status == kSysEx) out.withLength(at, head, payload);
        } else if (status > kSysEx) {
            r.skip(1);
            if (!r.has(systemDataBytes(status))) break;
            r.skip(systemDataBytes(status));
            tick = at;
            track.usable = true;
        } else {
            if (status & 0x80) {
                r.skip(1);
                running = status;
            } else if (running == 0) {
                break;  // data with no status to read it by
            }
            if (!r.has(channelDataBytes(running))) break;
            auto bytes = r.take(channelDataBytes(running));
            tick = at;
            track.usable = true;
            if ((running & 0xF0) == kProgramChange) track.programs.set(bytes[0] & 0x7F);
            const std::uint8_t notesOff[] = {kAllNotesOff, 0};
            auto data = channelModeChange(running, bytes) ? std::span<const std::uint8_t>(notesOff) : bytes;
            out.event(at, {std::span(&running, 1), data});
            if (startsOrEndsNotes(running, data)) track.notes.push_back({at, running, {data[0], data[1]}});
        }
    }
    track.endTick = tick;
    track.body = out.finish(tick);
    return track;
}

int mostNotesSounding(std::vector<NoteEvent> events) {
    std::stable_sort(events.begin(), events.end(),
                     [](const NoteEvent& a, const NoteEvent& b) { return a.tick < b.tick; });
    std::bitset<128> down[16], sounding[16];
    bool pedal[16] = {};
    int now = 0, most = 0;
    for (const NoteEvent& e : events) {
        const int channel = e.status & 0x0F;
        const std::uint8_t key = e.data[0] & 0x7F;
        now -= static_cast<int>(sounding[channel].count());
        switch (e.status & 0xF0) {
            case 0x90:
                if (e.data[1] != 0) {
                    down[channel].set(key);
                    sounding[channel].set(key);
                    break;
                }
                [[fallthrough]];
            case 0x80:
                down[channel].reset(key);
                if (!pedal[channel]) sounding[channel].reset(key);
                break;
            default:  // a controller: the pedal, all notes off, all sound off
                if (e.data[0] == kSustain) {
                    pedal[channel] = e.data[1] >= 64;
                } else {
                    down[channel].reset();
                }
                if (!pedal[channel] || e.data[0] == kAllSoundOff) sounding[channel] = down[channel];
        }
        now += static_cast<int>(sounding[channel].count());
        most = std::max(most, now);
    }
    return most;
}

}  // namespace vantorix
