#include "audio/midi_file.h"

#include <algorithm>
#include <cmath>

namespace vantorix {

namespace {

constexpr std::uint32_t kDefaultMicrosPerQuarter = 500000;  // 120 beats a minute
// Keeps exact time within 64 bits at any tempo.
constexpr std::int64_t kMaxTicks = std::int64_t{1} << 32;

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    bool has(std::size_t n) const { return bytes_.size() - pos_ >= n; }
    bool atEnd() const { return pos_ == bytes_.size(); }
    std::size_t pos() const { return pos_; }
    std::uint8_t byte() { return bytes_[pos_++]; }
    std::uint32_t be(int n) {
        std::uint32_t v = 0;
        for (int i = 0; i < n; ++i) v = (v << 8) | bytes_[pos_++];
        return v;
    }
    void skip(std::size_t n) { pos_ += n; }
    std::span<const std::uint8_t> take(std::size_t n) {
        auto s = bytes_.subspan(pos_, n);
        pos_ += n;
        return s;
    }
    // A variable-length quantity of at most four bytes.
    bool vlq(std::uint32_t& out) {
        out = 0;
        for (int i = 0; i < 4; ++i) {
            if (!has(1)) return false;
            std::uint8_t b = byte();
            out = (out << 7) | (b & 0x7F);
            if (!(b & 0x80)) return true;
        }
        return false;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

struct TempoEvent {
    std::int64_t tick;
    std::uint32_t microsPerQuarter;
};

// Walks one track's events; returns its length in ticks, or an error.
std::optional<std::int64_t> scanTrack(std::span<const std::uint8_t> data,
                                      std::vector<TempoEvent>& tempos, std::string& whyNot) {
    Reader r(data);
    std::int64_t tick = 0;
    std::uint8_t running = 0;
    while (!r.atEnd()) {
        std::uint32_t delta;
        if (!r.vlq(delta)) return whyNot = "bad delta time", std::nullopt;
        tick += delta;
        if (tick > kMaxTicks) return whyNot = "song too long", std::nullopt;
        if (!r.has(1)) return whyNot = "truncated event", std::nullopt;
        std::uint8_t status = r.byte();
        if (status == 0xFF) {
            if (!r.has(1)) return whyNot = "truncated meta event", std::nullopt;
            std::uint8_t type = r.byte();
            std::uint32_t length;
            if (!r.vlq(length) || !r.has(length))
                return whyNot = "truncated meta event", std::nullopt;
            auto payload = r.take(length);
            if (type == 0x2F) return tick;
            if (type == 0x51) {
                if (length != 3) return whyNot = "bad tempo", std::nullopt;
                std::uint32_t micros = (payload[0] << 16) | (payload[1] << 8) | payload[2];
                if (micros == 0) return whyNot = "bad tempo", std::nullopt;
                tempos.push_back({tick, micros});
            }
            running = 0;
        } else if (status == 0xF0 || status == 0xF7) {
            std::uint32_t length;
            if (!r.vlq(length) || !r.has(length)) return whyNot = "truncated sysex", std::nullopt;
            r.skip(length);
            running = 0;
        } else if (status >= 0xF0) {
            return whyNot = "unexpected system message", std::nullopt;
        } else {
            std::size_t dataBytes = 0;
            if (status & 0x80) {
                running = status;
            } else {
                if (!running) return whyNot = "data byte without a status", std::nullopt;
                dataBytes = 1;  // the byte just read was the first data byte
            }
            std::uint8_t kind = running & 0xF0;
            std::size_t needed = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
            if (!r.has(needed - dataBytes)) return whyNot = "truncated event", std::nullopt;
            r.skip(needed - dataBytes);
        }
    }
    // Some writers leave out the end-of-track event; the track ends with its data.
    return tick;
}

}  // namespace

std::optional<MidiFile> MidiFile::parse(std::span<const std::uint8_t> bytes, std::string& whyNot) {
    Reader r(bytes);
    if (!r.has(14) || r.be(4) != 0x4D546864 /* MThd */) {
        whyNot = "not a MIDI file";
        return std::nullopt;
    }
    std::uint32_t headerLength = r.be(4);
    if (headerLength < 6 || !r.has(headerLength)) {
        whyNot = "bad MIDI header";
        return std::nullopt;
    }
    MidiFile file;
    const auto format = r.be(2);
    std::uint32_t tracks = r.be(2);
    std::uint32_t division = r.be(2);
    r.skip(headerLength - 6);
    if (format > 2 || tracks == 0 || division == 0) {
        whyNot = "unsupported MIDI header";
        return std::nullopt;
    }

    std::vector<TempoEvent> tempos;
    while (static_cast<std::uint32_t>(file.trackCount_) < tracks && r.has(8)) {
        std::uint32_t id = r.be(4);
        std::uint32_t length = r.be(4);
        if (!r.has(length)) {
            whyNot = "truncated track";
            return std::nullopt;
        }
        auto data = r.take(length);
        if (id != 0x4D54726B /* MTrk */) continue;  // unknown chunks are skipped
        auto ticks = scanTrack(data, tempos, whyNot);
        if (!ticks) return std::nullopt;
        file.totalTicks_ = std::max(file.totalTicks_, *ticks);
        ++file.trackCount_;
    }
    if (static_cast<std::uint32_t>(file.trackCount_) != tracks) {
        whyNot = "missing tracks";
        return std::nullopt;
    }

    if (division & 0x8000) {
        // Time code: frames a second times ticks a frame; tempo plays no part.
        int fps = -static_cast<std::int8_t>(division >> 8);
        int perFrame = static_cast<int>(division & 0xFF);
        if (fps <= 0 || perFrame == 0) {
            whyNot = "bad time division";
            return std::nullopt;
        }
        file.divisor_ = fps * perFrame;
        file.addTempo(0, 1000000);
        return file;
    }
    std::stable_sort(tempos.begin(), tempos.end(),
                     [](const TempoEvent& a, const TempoEvent& b) { return a.tick < b.tick; });
    file.divisor_ = division;
    file.addTempo(0, kDefaultMicrosPerQuarter);
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
