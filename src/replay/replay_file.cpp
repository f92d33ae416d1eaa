#include "replay/replay_file.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "media/file_bytes.h"
#include "replay/bytes.h"

namespace vantorix {

namespace {

constexpr std::string_view kMagic = "VTXREPLAY";
constexpr std::size_t kChecksumBytes = 8;
constexpr std::size_t kMaxTimers = 8;

// An event record's first byte: its kind above, its delay below (15: a number follows).
enum RecordKind : std::uint8_t {
    FirstTick = 0,  // 0 to 7: the tick of that timer
    KeyDown = 8,
    KeyUp = 9,
    Close = 10,
    Check = 11,
    Paused = 12,
};
constexpr std::uint8_t kLongDelay = 15;

void writeState(ByteSink& out, const GameState& s) {
    std::uint8_t flags = static_cast<std::uint8_t>(s.gamePlaying | s.zKeyDown << 1 | s.xKeyDown << 2 |
                                                   s.beamFlying << 3 | s.blinkOn << 4);
    out.byte(flags);
    out.svarint(s.shipRow);
    out.svarint(s.highRest);
    out.byte(s.beamRow);
    out.byte(s.pushOffset);
    out.byte(s.spawnRow);
    out.svarint(s.score);
    out.svarint(s.hiScore);
    out.byte(s.back.r);
    out.byte(s.back.g);
    out.byte(s.back.b);
    out.varint(s.labels.size());
    for (const LabelState& l : s.labels) {
        out.text(l.name);
        out.svarint(l.index);
        out.real(l.left);
        out.real(l.top);
        out.byte(l.visible);
        out.text(l.caption);
    }
    out.varint(s.timers.size());
    for (const TimerState& t : s.timers) {
        out.byte(t.enabled);
        out.svarint(t.interval);
    }
}

template <typename T>
T within(std::int64_t v, const char* what) {
    if (v < std::numeric_limits<T>::min() || v > std::numeric_limits<T>::max())
        throw BadBytes(std::string(what) + " is out of range");
    return static_cast<T>(v);
}

bool flag(ByteSource& in) {
    std::uint8_t b = in.byte();
    if (b > 1) throw BadBytes("a yes-or-no field holds " + std::to_string(b));
    return b;
}

GameState readState(ByteSource& in) {
    GameState s;
    std::uint8_t flags = in.byte();
    if (flags >> 5) throw BadBytes("the state's flags are not ours");
    s.gamePlaying = flags & 1;
    s.zKeyDown = flags & 2;
    s.xKeyDown = flags & 4;
    s.beamFlying = flags & 8;
    s.blinkOn = flags & 16;
    s.shipRow = within<std::int16_t>(in.svarint(), "the ship's row");
    s.highRest = within<std::int16_t>(in.svarint(), "the Highs left");
    s.beamRow = in.byte();
    s.pushOffset = in.byte();
    s.spawnRow = in.byte();
    s.score = in.svarint();
    s.hiScore = in.svarint();
    s.back = {in.byte(), in.byte(), in.byte()};
    for (std::size_t n = in.count(); n > 0; --n) {
        LabelState l;
        l.name = in.text();
        l.index = within<int>(in.svarint(), "a label's index");
        l.left = in.real();
        l.top = in.real();
        if (!std::isfinite(l.left) || !std::isfinite(l.top)) throw BadBytes("a label's place is not a number");
        l.visible = flag(in);
        l.caption = in.text();
        s.labels.push_back(std::move(l));
    }
    for (std::size_t n = in.count(); n > 0; --n) {
        TimerState t;
        t.enabled = flag(in);
        t.interval = within<int>(in.svarint(), "a timer's interval");
        s.timers.push_back(t);
    }
    return s;
}

void record(std::string& out, std::uint8_t kind, std::int64_t delay) {
    ByteSink sink(out);
    if (delay < kLongDelay) {
        sink.byte(static_cast<std::uint8_t>(kind << 4 | delay));
        return;
    }
    sink.byte(static_cast<std::uint8_t>(kind << 4 | kLongDelay));
    sink.varint(static_cast<std::uint64_t>(delay));
}

// A delay or a pause: anything beyond a year is not a game's.
std::int64_t duration(ByteSource& in) {
    constexpr std::uint64_t kYearMs = 366ULL * 24 * 3600 * 1000;
    std::uint64_t ms = in.varint();
    if (ms > kYearMs) throw BadBytes("a time runs too long");
    return static_cast<std::int64_t>(ms);
}

void readRecords(ByteSource& in, Replay& r) {
    std::int64_t at = 0, paused = 0;
    while (!in.atEnd()) {
        std::uint8_t tag = in.byte();
        std::uint8_t kind = tag >> 4;
        std::int64_t delay = tag & 0x0F;
        if (delay == kLongDelay) delay = duration(in);
        if (kind == Check || kind == Paused) {
            if (delay != 0) throw BadBytes("a check or a pause carries a delay");
            if (kind == Paused) {
                paused += duration(in);
            } else {
                if (r.events.empty()) throw BadBytes("a check comes before any event");
                r.checks.push_back({r.events.size(), in.svarint(), in.fixed(8)});
            }
            continue;
        }
        at += delay;
        InputEvent e;
        if (kind < KeyDown) {
            if (kind >= r.timers.size()) throw BadBytes("a tick names no timer");
            e = {InputEvent::Kind::Tick, 0, 0, kind};
        } else if (kind == KeyDown || kind == KeyUp) {
            e.kind = kind == KeyDown ? InputEvent::Kind::KeyDown : InputEvent::Kind::KeyUp;
            e.keyCode = within<std::int16_t>(in.svarint(), "a key code");
            e.shift = within<std::int16_t>(in.svarint(), "a shift state");
        } else if (kind == Close) {
            e.kind = InputEvent::Kind::Close;
        } else {
            throw BadBytes("an event of unknown kind " + std::to_string(kind));
        }
        r.events.push_back({at, e, paused});
        paused = 0;
    }
    if (r.checks.empty() || r.checks.back().afterEvents != r.events.size())
        throw BadBytes("it does not end with a check of the final state");
}

}  // namespace

std::uint64_t stateHash(const GameState& state) {
    std::string bytes;
    ByteSink sink(bytes);
    writeState(sink, state);
    return fnv1a({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

void ReplayWriter::event(std::int64_t atMs, const InputEvent& e) {
    std::int64_t delay = std::max<std::int64_t>(0, atMs - lastAt_);
    lastAt_ = std::max(lastAt_, atMs);
    ++events_;
    switch (e.kind) {
        case InputEvent::Kind::Tick: record(records_, static_cast<std::uint8_t>(FirstTick + e.timer), delay); return;
        case InputEvent::Kind::Close: record(records_, Close, delay); return;
        case InputEvent::Kind::KeyDown:
        case InputEvent::Kind::KeyUp: {
            record(records_, e.kind == InputEvent::Kind::KeyDown ? KeyDown : KeyUp, delay);
            ByteSink sink(records_);
            sink.svarint(e.keyCode);
            sink.svarint(e.shift);
            return;
        }
    }
}

void ReplayWriter::paused(std::int64_t ms) {
    record(records_, Paused, 0);
    ByteSink(records_).varint(static_cast<std::uint64_t>(ms));
}

void ReplayWriter::check(std::int64_t score, std::uint64_t hash) {
    record(records_, Check, 0);
    ByteSink sink(records_);
    sink.svarint(score);
    sink.fixed(hash, 8);
}

std::string ReplayWriter::finish(const ReplayHeader& header, const std::vector<std::string>& timers,
                                 const GameState& start, const std::vector<std::int64_t>& seeds) const {
    std::string out(kMagic);
    ByteSink sink(out);
    sink.byte(kReplayVersion);
    sink.svarint(header.startedAt);
    sink.svarint(header.score);
    sink.byte(static_cast<std::uint8_t>(header.ending));
    sink.svarint(header.lengthMs);
    sink.varint(timers.size());
    for (const std::string& name : timers) sink.text(name);
    writeState(sink, start);
    sink.varint(seeds.size());
    for (std::int64_t seed : seeds) sink.svarint(seed);
    out += records_;
    sink.fixed(fnv1a({reinterpret_cast<const std::uint8_t*>(out.data()), out.size()}), kChecksumBytes);
    return out;
}

std::string encodeReplay(const Replay& r) {
    ReplayWriter writer;
    auto check = r.checks.begin();
    auto checksAfter = [&](std::size_t events) {
        for (; check != r.checks.end() && check->afterEvents == events; ++check)
            writer.check(check->score, check->stateHash);
    };
    for (const ReplayEvent& e : r.events) {
        if (e.pausedBeforeMs > 0) writer.paused(e.pausedBeforeMs);
        writer.event(e.atMs, e.event);
        checksAfter(writer.events());
    }
    return writer.finish(r.header, r.timers, r.start, r.seeds);
}

std::optional<Replay> decodeReplay(std::span<const std::uint8_t> bytes, std::string& whyNot) {
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (!text.starts_with(kMagic)) {
        whyNot = "not a Vantorix replay";
        return std::nullopt;
    }
    if (bytes.size() < kMagic.size() + 1 + kChecksumBytes) {
        whyNot = "damaged: it ends too soon";
        return std::nullopt;
    }
    std::uint8_t version = bytes[kMagic.size()];
    if (version != kReplayVersion) {
        whyNot = "a replay of version " + std::to_string(version) + ", and this game reads version " +
                 std::to_string(kReplayVersion);
        return std::nullopt;
    }
    auto body = bytes.first(bytes.size() - kChecksumBytes);
    if (ByteSource(bytes.last(kChecksumBytes)).fixed(kChecksumBytes) != fnv1a(body)) {
        whyNot = "damaged: its checksum does not match";
        return std::nullopt;
    }
    try {
        ByteSource in(body.subspan(kMagic.size() + 1));
        Replay r;
        r.header.startedAt = in.svarint();
        r.header.score = in.svarint();
        std::uint8_t ending = in.byte();
        if (ending >= kEndings) throw BadBytes("it ends in an unknown way");
        r.header.ending = static_cast<Ending>(ending);
        r.header.lengthMs = in.svarint();
        if (r.header.lengthMs < 0) throw BadBytes("its length is negative");
        std::size_t timers = in.count();
        if (timers > kMaxTimers) throw BadBytes("it names too many timers");
        for (; timers > 0; --timers) r.timers.push_back(in.text());
        r.start = readState(in);
        if (r.start.timers.size() != r.timers.size()) throw BadBytes("its timers do not match its state");
        for (std::size_t n = in.count(); n > 0; --n) r.seeds.push_back(in.svarint());
        readRecords(in, r);
        return r;
    } catch (const BadBytes& fault) {
        whyNot = std::string("damaged: ") + fault.what();
        return std::nullopt;
    }
}

std::optional<Replay> readReplay(const std::string& path, std::string& whyNot) {
    auto bytes = readFileCapped(path, kMaxReplayBytes, whyNot);
    if (!bytes) return std::nullopt;
    return decodeReplay(*bytes, whyNot);
}

std::string_view endingName(Ending ending) {
    switch (ending) {
        case Ending::Dekopin: return "Dekopin!!";
        case Ending::Mayday: return "Mayday!!";
        case Ending::MissionOver: return "Mission Over!!";
        case Ending::Perfect: return "Perfect!!!";
        case Ending::Closed: return "closed";
    }
    return "?";
}

}  // namespace vantorix
