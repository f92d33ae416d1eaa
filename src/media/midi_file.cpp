#include "media/midi_file.h"

#include <algorithm>
#include <cmath>

#include "media/byte_reader.h"
#include "media/midi_track.h"

namespace vantorix {

namespace {

constexpr std::uint32_t kDefaultMicrosPerQuarter = 500000;  // 120 beats a minute
// The synthesizer's reader takes the track count from the header's low byte as
// a signed character: more tracks than this are not read.
constexpr int kMaxTracks = 127;
constexpr std::uint32_t kMThd = 0x4D546864;
constexpr std::uint32_t kMTrk = 0x4D54726B;

// The MIDI file inside a RIFF "RMID" wrapper: its "data" chunk. Other bytes pass as they are.
std::span<const std::uint8_t> unwrapRiff(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 12 || !std::equal(bytes.begin(), bytes.begin() + 4, "RIFF") ||
        !std::equal(bytes.begin() + 8, bytes.begin() + 12, "RMID"))
        return bytes;
    std::size_t pos = 12;
    while (bytes.size() - pos >= 8) {
        std::size_t length = le32(bytes.data() + pos + 4);
        std::size_t available = bytes.size() - pos - 8;
        if (std::equal(bytes.begin() + pos, bytes.begin() + pos + 4, "data"))
            return bytes.subspan(pos + 8, std::min(length, available));
        if (length >= available) break;
        pos += 8 + length + (length & 1);
    }
    return {};
}

void putBe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

std::optional<MidiFile> MidiFile::parse(std::span<const std::uint8_t> bytes, std::string& whyNot) {
    ByteReader r(unwrapRiff(bytes));
    if (!r.has(14) || r.be(4) != kMThd) {
        whyNot = "not a MIDI file";
        return std::nullopt;
    }
    std::uint32_t headerLength = r.be(4);
    if (headerLength < 6 || !r.has(headerLength)) {
        whyNot = "bad MIDI header";
        return std::nullopt;
    }
    const std::uint32_t format = r.be(2);
    const std::uint32_t declaredTracks = r.be(2);
    std::uint32_t division = r.be(2);
    r.skip(headerLength - 6);
    // Time code: frames a second times ticks a frame. The song is rewritten in
    // quarter notes of one second, so that tempo plays no part.
    const bool timeCode = division & 0x8000;
    if (timeCode) {
        int fps = -static_cast<std::int8_t>(division >> 8);
        int perFrame = static_cast<int>(division & 0xFF);
        division = fps > 0 ? static_cast<std::uint32_t>(fps * perFrame) : 0;
    }
    if (format > 2 || division == 0) {
        whyNot = "unsupported MIDI header";
        return std::nullopt;
    }

    MidiFile file;
    std::vector<TempoEvent> tempos;
    std::vector<std::uint8_t> tracks;
    std::vector<NoteEvent> notes;
    // Chunks of other types are skipped; a track cut short by the end of the file
    // plays what it has.
    for (std::uint32_t seen = 0; seen < declaredTracks && r.has(8);) {
        std::uint32_t id = r.be(4);
        std::size_t length = r.be(4);
        auto data = r.take(std::min(length, r.left()));
        if (id != kMTrk) continue;
        ++seen;
        MidiTrack track = readMidiTrack(data, timeCode, tempos);
        if (!track.usable || file.trackCount_ == kMaxTracks) continue;
        if (timeCode && file.trackCount_ == 0)  // one second a quarter note
            track.body.insert(track.body.begin(), {0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40});
        putBe(tracks, kMTrk, 4);
        putBe(tracks, static_cast<std::uint32_t>(track.body.size()), 4);
        tracks.insert(tracks.end(), track.body.begin(), track.body.end());
        file.totalTicks_ = std::max(file.totalTicks_, track.endTick);
        file.programs_ |= track.programs;
        notes.insert(notes.end(), track.notes.begin(), track.notes.end());
        ++file.trackCount_;
    }
    if (file.trackCount_ == 0) {
        whyNot = "no usable track";
        return std::nullopt;
    }
    putBe(file.playable_, kMThd, 4);
    putBe(file.playable_, 6, 4);
    putBe(file.playable_, format, 2);
    putBe(file.playable_, static_cast<std::uint32_t>(file.trackCount_), 2);
    putBe(file.playable_, division, 2);
    file.playable_.insert(file.playable_.end(), tracks.begin(), tracks.end());
    file.mostNotesAtOnce_ = mostNotesSounding(std::move(notes));

    std::stable_sort(tempos.begin(), tempos.end(),
                     [](const TempoEvent& a, const TempoEvent& b) { return a.tick < b.tick; });
    file.divisor_ = division;
    file.addTempo(0, timeCode ? 1000000 : kDefaultMicrosPerQuarter);
    for (const TempoEvent& t : tempos) file.addTempo(t.tick, t.microsPerQuarter);
    return file;
}

void MidiFile::addTempo(std::int64_t tick, std::int64_t microsPerTick) {
    if (!tempos_.empty() && tempos_.back().tick == tick) {
        tempos_.back().microsPerTick = microsPerTick;
        return;
    }
    std::int64_t start = tempos_.empty() ? 0 : unitsAt(tick);
    tempos_.push_back({tick, microsPerTick, start});
}

const MidiFile::Tempo& MidiFile::segmentAtTick(std::int64_t tick) const {
    auto after = std::upper_bound(tempos_.begin(), tempos_.end(), tick,
                                  [](std::int64_t t, const Tempo& s) { return t < s.tick; });
    return *std::prev(after);
}

std::int64_t MidiFile::unitsAt(std::int64_t tick) const {
    const Tempo& s = segmentAtTick(tick);
    return s.startUnits + (tick - s.tick) * s.microsPerTick;
}

double MidiFile::tickToMs(std::int64_t tick) const {
    return static_cast<double>(unitsAt(tick)) / (1000.0 * static_cast<double>(divisor_));
}

std::int64_t MidiFile::msToTick(double ms) const {
    double target = ms * 1000.0 * static_cast<double>(divisor_);
    auto after = std::upper_bound(tempos_.begin(), tempos_.end(), target,
                                  [](double u, const Tempo& s) { return u < static_cast<double>(s.startUnits); });
    const Tempo& s = after == tempos_.begin() ? tempos_.front() : *std::prev(after);
    return s.tick + static_cast<std::int64_t>(
                        std::floor((target - static_cast<double>(s.startUnits)) / static_cast<double>(s.microsPerTick)));
}

std::int64_t MidiFile::lengthMs() const {
    std::int64_t perMs = 1000 * divisor_;
    return (unitsAt(totalTicks_) + perMs - 1) / perMs;
}

}  // namespace vantorix
