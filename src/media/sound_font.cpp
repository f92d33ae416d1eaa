#include "media/sound_font.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

#include "media/byte_reader.h"

namespace vantorix {

namespace {

// The generators that point into the next table down.
constexpr std::uint16_t kInstrumentGenerator = 41;
constexpr std::uint16_t kSampleIdGenerator = 53;
// Right, left and linked samples name their partner in the sample header.
constexpr std::uint16_t kStereoSampleTypes = 0x000E;
// A preset table is kilobytes; this leaves room for the largest SoundFonts.
constexpr std::uint32_t kMaxPresetTablesBytes = 64 * 1024 * 1024;
constexpr std::uint32_t kMaxInfoBytes = 1024 * 1024;

void put32(std::vector<std::uint8_t>& out, std::uint64_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void putTag(std::vector<std::uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

using Table = SoundFontIndex::Table;

// Every record's 16-bit field at `offset` rises, or stays, and stays within `limit`.
bool rising(const Table& t, std::size_t offset, std::size_t limit) {
    std::uint16_t last = 0;
    for (std::size_t i = 0; i < t.count(); ++i) {
        std::uint16_t v = le16(t.record(i) + offset);
        if (v < last || v > limit) return false;
        last = v;
    }
    return true;
}

// Every generator of kind `oper` points at a record before `table`'s terminal one.
bool pointsWithin(const Table& gens, std::uint16_t oper, const Table& table) {
    for (std::size_t i = 0; i < gens.count(); ++i)
        if (le16(gens.record(i)) == oper && le16(gens.record(i) + 2) + 1u >= table.count()) return false;
    return true;
}

// New numbers for the records of a table that are kept, in the order first kept.
class Renumbering {
public:
    void keep(std::uint16_t old) {
        if (numbers_.emplace(old, static_cast<std::uint16_t>(order_.size())).second) order_.push_back(old);
    }
    bool kept(std::uint16_t old) const { return numbers_.count(old) > 0; }
    std::uint16_t operator[](std::uint16_t old) const { return numbers_.at(old); }
    const std::vector<std::uint16_t>& order() const { return order_; }

private:
    std::map<std::uint16_t, std::uint16_t> numbers_;
    std::vector<std::uint16_t> order_;
};

// Copies the zones of a preset or an instrument with their generators and
// modulators, renumbering what `pointer` generators point at.
struct ZoneTables {
    const Table& bags;
    const Table& mods;
    const Table& gens;
    Table outBags{{}, bags.recordSize};
    Table outMods{{}, mods.recordSize};
    Table outGens{{}, gens.recordSize};

    static void append(Table& out, const Table& in, std::size_t i) {
        out.bytes.insert(out.bytes.end(), in.record(i), in.record(i) + in.recordSize);
    }

    // Copies bags [first, end); returns the index of the first copied bag.
    std::uint16_t copy(std::size_t first, std::size_t end, std::uint16_t pointer, const Renumbering& to) {
        auto start = static_cast<std::uint16_t>(outBags.count());
        for (std::size_t b = first; b < end; ++b) {
            const std::uint8_t* bag = bags.record(b);
            std::uint8_t copied[4];
            setLe16(copied, outGens.count());
            setLe16(copied + 2, outMods.count());
            outBags.bytes.insert(outBags.bytes.end(), copied, copied + 4);
            for (std::size_t g = le16(bag); g < le16(bags.record(b + 1)); ++g) {
                append(outGens, gens, g);
                std::uint8_t* gen = outGens.bytes.data() + outGens.bytes.size() - gens.recordSize;
                if (le16(gen) == pointer) setLe16(gen + 2, to[le16(gen + 2)]);
            }
            for (std::size_t m = le16(bag + 2); m < le16(bags.record(b + 1) + 2); ++m) append(outMods, mods, m);
        }
        return start;
    }
    // The terminal records, pointing just past the copied ones.
    void finish() {
        std::uint8_t end[4];
        setLe16(end, outGens.count());
        setLe16(end + 2, outMods.count());
        outBags.bytes.insert(outBags.bytes.end(), end, end + 4);
        append(outGens, gens, gens.count() - 1);
        append(outMods, mods, mods.count() - 1);
    }
};

// The records of `headers` listed in `keep`, each pointing at its first copied
// bag, then the terminal record pointing past the last.
Table headersOf(const Table& headers, std::size_t bagField, const std::vector<std::uint16_t>& keep,
                const std::vector<std::uint16_t>& firstBags, std::size_t bagCount) {
    Table out{{}, headers.recordSize};
    for (std::size_t i = 0; i <= keep.size(); ++i) {
        std::size_t from = i < keep.size() ? keep[i] : headers.count() - 1;
        ZoneTables::append(out, headers, from);
        setLe16(out.bytes.data() + out.bytes.size() - headers.recordSize + bagField,
              i < keep.size() ? firstBags[i] : bagCount);
    }
    return out;
}

void putChunk(std::vector<std::uint8_t>& out, const char* tag, const Table& t) {
    putTag(out, tag);
    put32(out, t.bytes.size());
    out.insert(out.end(), t.bytes.begin(), t.bytes.end());
}

// The major version in the INFO list's ifil chunk: 2 for SoundFont 2, 3 for the
// compressed kind, whose sample headers count bytes rather than points.
std::uint16_t majorVersion(const std::vector<std::uint8_t>& info) {
    for (std::size_t at = 12; at + 8 <= info.size();) {
        std::uint32_t length = le32(info.data() + at + 4);
        if (std::memcmp(info.data() + at, "ifil", 4) == 0 && length >= 4 && at + 12 <= info.size())
            return le16(info.data() + at + 8);
        if (length > info.size() - at - 8) break;
        at += 8 + length + (length & 1);
    }
    return 0;
}

// Where a kept sample's points lie in the file and where they go in a subset.
struct SampleStretch {
    std::uint64_t from, to;  // points [from, to) of the file's sample data
};

// The 46 points after a sample, zero by the format, which FluidSynth reads with it.
constexpr std::uint64_t kGuardPoints = 46;
constexpr std::uint16_t kRomSample = 0x8000;

// Lays the kept samples' points out back to back in `headers` (in order,
// terminal record last) and points each header at its new place; returns
// their stretches of the file. Each keeps the points up to its loop's end if
// that lies further. A sample that does not lie within the data keeps no
// points: FluidSynth refuses it either way. Samples that share points share
// them in the cut too, so it never holds more points than the file: any number
// of headers may name the same stretch.
std::vector<SampleStretch> compactSamples(Table& headers, std::uint64_t points) {
    const std::size_t samples = headers.count() - 1;
    auto sampleAt = [&](std::size_t k) { return headers.bytes.data() + k * headers.recordSize; };
    std::vector<SampleStretch> wanted(samples);
    for (std::size_t k = 0; k < samples; ++k) {
        const std::uint8_t* sample = sampleAt(k);
        std::uint64_t start = le32(sample + 20), end = le32(sample + 24);
        bool inData = !(le16(sample + 44) & kRomSample) && start <= end && end <= points;
        wanted[k] = {start, inData ? std::min(std::max(end + kGuardPoints, std::uint64_t{le32(sample + 32)}), points)
                                   : start};
    }
    // The union of the wanted stretches, in the file's order.
    std::vector<SampleStretch> stretches;
    for (const SampleStretch& w : wanted)
        if (w.to > w.from) stretches.push_back(w);
    std::sort(stretches.begin(), stretches.end(), [](auto& a, auto& b) { return a.from < b.from; });
    std::vector<SampleStretch> merged;
    for (const SampleStretch& s : stretches) {
        if (!merged.empty() && s.from <= merged.back().to) {
            merged.back().to = std::max(merged.back().to, s.to);
        } else {
            merged.push_back(s);
        }
    }
    std::vector<std::uint64_t> placedAt;
    std::uint64_t placed = 0;
    for (const SampleStretch& m : merged) {
        placedAt.push_back(placed);
        placed += m.to - m.from;
    }
    for (std::size_t k = 0; k < samples; ++k) {
        std::uint8_t* sample = sampleAt(k);
        const SampleStretch& w = wanted[k];
        std::uint64_t newStart = 0;
        if (w.to > w.from) {
            auto in = std::upper_bound(merged.begin(), merged.end(), w.from,
                                       [](std::uint64_t from, auto& m) { return from < m.from; }) - 1;
            newStart = placedAt[static_cast<std::size_t>(in - merged.begin())] + (w.from - in->from);
        }
        // Loop points outside the sample stay where they were relative to it,
        // as FluidSynth sees them when it loads a sample alone.
        for (std::size_t field : {28u, 32u}) {
            auto moved = static_cast<std::int64_t>(le32(sample + field)) - static_cast<std::int64_t>(w.from) +
                         static_cast<std::int64_t>(newStart);
            setLe32(sample + field, static_cast<std::uint32_t>(std::clamp<std::int64_t>(moved, 0, UINT32_MAX)));
        }
        // FluidSynth also plays a sample it loads alone on into its guard points;
        // so does this header, and the music is the same either way.
        std::uint64_t end = le32(sample + 24);
        setLe32(sample + 20, static_cast<std::uint32_t>(newStart));
        setLe32(sample + 24, static_cast<std::uint32_t>(w.to > w.from ? newStart + std::min(end + kGuardPoints, w.to) - w.from
                                                                      : newStart));
    }
    return merged;
}

}  // namespace

bool SoundFontIndex::findSamples(std::FILE* file, std::uint64_t from, std::uint64_t end) {
    std::uint8_t header[8];
    // Of several sample lists the last counts, with its own low bytes or none.
    lowBytesAt_ = 0;
    if (from + 8 > end || !readFileAt(file, from, header) || std::memcmp(header, "smpl", 4) != 0) return false;
    std::uint64_t length = le32(header + 4);
    if (from + 8 + length > end) return false;
    pointsAt_ = from + 8;
    points_ = length / 2;
    // 24-bit samples keep their low bytes in the chunk right after, if it fits.
    std::uint64_t next = pointsAt_ + length;
    if (next + 8 <= end && readFileAt(file, next, header) && std::memcmp(header, "sm24", 4) == 0 &&
        le32(header + 4) == points_ + (points_ & 1) && next + 8 + le32(header + 4) <= end)
        lowBytesAt_ = next + 8;
    return true;
}

std::optional<SoundFontIndex> SoundFontIndex::read(const std::string& path, std::string& whyNot) {
    whyNot = "not a SoundFont 2 file";
    File file(std::fopen(path.c_str(), "rb"));
    if (!file || fseeko(file.get(), 0, SEEK_END) != 0) return std::nullopt;
    auto fileSize = static_cast<std::uint64_t>(ftello(file.get()));
    std::uint8_t riff[12];
    if (!readFileAt(file.get(), 0, riff) || std::memcmp(riff, "RIFF", 4) != 0 ||
        std::memcmp(riff + 8, "sfbk", 4) != 0)
        return std::nullopt;
    std::uint64_t end = std::min<std::uint64_t>(fileSize, 8 + std::uint64_t{le32(riff + 4)});

    SoundFontIndex index;
    index.path_ = path;
    std::vector<std::uint8_t> presets;
    for (std::uint64_t at = 12; at + 12 <= end;) {
        std::uint8_t header[12];
        if (!readFileAt(file.get(), at, header)) return std::nullopt;
        std::uint64_t length = 8 + std::uint64_t{le32(header + 4)};
        std::uint64_t padded = length + (length & 1);
        if (at + length > end) return std::nullopt;
        // A list too short to hold its own type holds nothing of ours.
        if (std::memcmp(header, "LIST", 4) == 0 && length >= 12) {
            if (std::memcmp(header + 8, "INFO", 4) == 0 && length <= kMaxInfoBytes) {
                index.info_.resize(padded);
                if (!readFileAt(file.get(), at, std::span(index.info_).first(length))) return std::nullopt;
            } else if (std::memcmp(header + 8, "sdta", 4) == 0) {
                if (!index.findSamples(file.get(), at + 12, at + length)) return std::nullopt;
            } else if (std::memcmp(header + 8, "pdta", 4) == 0 && length <= kMaxPresetTablesBytes) {
                presets.resize(length - 12);
                if (!readFileAt(file.get(), at + 12, presets)) return std::nullopt;
            }
        }
        at += padded;
    }
    if (index.info_.empty() || index.points_ == 0 || presets.empty() || majorVersion(index.info_) != 2)
        return std::nullopt;

    struct Wanted {
        const char* tag;
        std::size_t recordSize;
        Table* table;
    };
    const Wanted tables[] = {{"phdr", 38, &index.phdr_}, {"pbag", 4, &index.pbag_}, {"pmod", 10, &index.pmod_},
                             {"pgen", 4, &index.pgen_},  {"inst", 22, &index.inst_}, {"ibag", 4, &index.ibag_},
                             {"imod", 10, &index.imod_}, {"igen", 4, &index.igen_},  {"shdr", 46, &index.shdr_}};
    for (std::size_t at = 0; at + 8 <= presets.size();) {
        std::size_t length = le32(presets.data() + at + 4);
        if (length > presets.size() - at - 8) return std::nullopt;
        for (const Wanted& w : tables)
            if (std::memcmp(presets.data() + at, w.tag, 4) == 0 && length % w.recordSize == 0)
                *w.table = Table{{presets.begin() + static_cast<long>(at + 8),
                                  presets.begin() + static_cast<long>(at + 8 + length)},
                                 w.recordSize};
        at += 8 + length + (length & 1);
    }
    for (const Wanted& w : tables)
        if (w.table->recordSize == 0 || w.table->count() == 0) return std::nullopt;
    // Presets are numbered in 16 bits, the terminal record included.
    if (index.phdr_.count() > 0x10000) return std::nullopt;
    // Every index points where it may, so a subset can follow them blindly.
    const bool consistent =
        rising(index.phdr_, 24, index.pbag_.count() - 1) && rising(index.pbag_, 0, index.pgen_.count() - 1) &&
        rising(index.pbag_, 2, index.pmod_.count() - 1) && rising(index.inst_, 20, index.ibag_.count() - 1) &&
        rising(index.ibag_, 0, index.igen_.count() - 1) && rising(index.ibag_, 2, index.imod_.count() - 1) &&
        pointsWithin(index.pgen_, kInstrumentGenerator, index.inst_) &&
        pointsWithin(index.igen_, kSampleIdGenerator, index.shdr_);
    if (!consistent) return std::nullopt;
    whyNot.clear();
    return index;
}

SoundFontImage SoundFontIndex::subset(const std::bitset<128>& programs) const {
    auto bagOf = [](const Table& headers, std::size_t i, std::size_t field) { return le16(headers.record(i) + field); };
    // Which presets, and through their zones which instruments and samples.
    std::vector<std::uint16_t> presets;
    for (std::uint16_t p = 0; p + 1u < phdr_.count(); ++p) {
        std::uint16_t program = le16(phdr_.record(p) + 20);
        if (program < programs.size() && programs[program]) presets.push_back(p);
    }
    auto pointed = [](const Table& bags, const Table& gens, std::size_t first, std::size_t end,
                      std::uint16_t oper, Renumbering& to) {
        for (std::size_t g = le16(bags.record(first)); g < le16(bags.record(end)); ++g)
            if (le16(gens.record(g)) == oper) to.keep(le16(gens.record(g) + 2));
    };
    Renumbering instruments, samples;
    for (std::uint16_t p : presets)
        pointed(pbag_, pgen_, bagOf(phdr_, p, 24), bagOf(phdr_, p + 1u, 24), kInstrumentGenerator, instruments);
    for (std::uint16_t i : instruments.order())
        pointed(ibag_, igen_, bagOf(inst_, i, 20), bagOf(inst_, i + 1u, 20), kSampleIdGenerator, samples);
    // A stereo sample keeps its partner.
    for (std::size_t k = 0; k < samples.order().size(); ++k) {
        const std::uint8_t* sample = shdr_.record(samples.order()[k]);
        std::uint16_t partner = le16(sample + 42);
        if ((le16(sample + 44) & kStereoSampleTypes) && partner + 1u < shdr_.count()) samples.keep(partner);
    }

    ZoneTables presetZones{pbag_, pmod_, pgen_};
    std::vector<std::uint16_t> presetBags;
    for (std::uint16_t p : presets)
        presetBags.push_back(presetZones.copy(bagOf(phdr_, p, 24), bagOf(phdr_, p + 1u, 24), kInstrumentGenerator,
                                              instruments));
    ZoneTables instrumentZones{ibag_, imod_, igen_};
    std::vector<std::uint16_t> instrumentBags;
    for (std::uint16_t i : instruments.order())
        instrumentBags.push_back(instrumentZones.copy(bagOf(inst_, i, 20), bagOf(inst_, i + 1u, 20),
                                                      kSampleIdGenerator, samples));
    const std::size_t presetBagCount = presetZones.outBags.count();
    const std::size_t instrumentBagCount = instrumentZones.outBags.count();
    presetZones.finish();
    instrumentZones.finish();

    Table sampleHeaders{{}, shdr_.recordSize};
    for (std::size_t k = 0; k <= samples.order().size(); ++k) {
        bool terminal = k == samples.order().size();
        ZoneTables::append(sampleHeaders, shdr_, terminal ? shdr_.count() - 1 : samples.order()[k]);
        std::uint8_t* sample = sampleHeaders.bytes.data() + sampleHeaders.bytes.size() - shdr_.recordSize;
        if (!terminal && samples.kept(le16(sample + 42)) && (le16(sample + 44) & kStereoSampleTypes))
            setLe16(sample + 42, samples[le16(sample + 42)]);
    }

    std::vector<SampleStretch> stretches = compactSamples(sampleHeaders, points_);
    std::uint64_t keptPoints = 0;
    for (const SampleStretch& s : stretches) keptPoints += s.to - s.from;
    // FluidSynth refuses sample data of no points at all: a cut that keeps no
    // sample holds silent points, so that it still loads.
    const std::vector<std::uint8_t> silence(keptPoints == 0 ? 2 * kGuardPoints : 0);
    keptPoints += silence.size() / 2;

    std::vector<std::uint8_t> pdta;
    putTag(pdta, "LIST");
    put32(pdta, 0);
    putTag(pdta, "pdta");
    putChunk(pdta, "phdr", headersOf(phdr_, 24, presets, presetBags, presetBagCount));
    putChunk(pdta, "pbag", presetZones.outBags);
    putChunk(pdta, "pmod", presetZones.outMods);
    putChunk(pdta, "pgen", presetZones.outGens);
    putChunk(pdta, "inst", headersOf(inst_, 20, instruments.order(), instrumentBags, instrumentBagCount));
    putChunk(pdta, "ibag", instrumentZones.outBags);
    putChunk(pdta, "imod", instrumentZones.outMods);
    putChunk(pdta, "igen", instrumentZones.outGens);
    putChunk(pdta, "shdr", sampleHeaders);
    std::uint64_t listLength = pdta.size() - 8;
    for (int i = 0; i < 4; ++i) pdta[4 + i] = static_cast<std::uint8_t>(listLength >> (8 * i));

    const std::uint64_t lowBytes = lowBytesAt_ ? keptPoints + (keptPoints & 1) : 0;
    const std::uint64_t sdtaLength = 4 + 8 + 2 * keptPoints + (lowBytesAt_ ? 8 + lowBytes : 0);
    std::vector<std::uint8_t> head;
    putTag(head, "RIFF");
    put32(head, 4 + info_.size() + 8 + sdtaLength + pdta.size());
    putTag(head, "sfbk");
    head.insert(head.end(), info_.begin(), info_.end());
    putTag(head, "LIST");
    put32(head, sdtaLength);
    putTag(head, "sdta");
    putTag(head, "smpl");
    put32(head, 2 * keptPoints);

    SoundFontImage image(path_);
    image.append(head);
    for (const SampleStretch& s : stretches) image.appendSource(pointsAt_ + 2 * s.from, 2 * (s.to - s.from));
    image.append(silence);
    if (lowBytesAt_) {
        std::vector<std::uint8_t> lowHead;
        putTag(lowHead, "sm24");
        put32(lowHead, lowBytes);
        image.append(lowHead);
        for (const SampleStretch& s : stretches) image.appendSource(lowBytesAt_ + s.from, s.to - s.from);
        image.append(std::span(silence).first(silence.size() / 2));
        if (keptPoints & 1) image.append(std::vector<std::uint8_t>{0});
    }
    image.append(pdta);
    return image;
}

}  // namespace vantorix
