#include "audio/sound_font.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

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

std::uint16_t le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t le32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
void set16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(std::vector<std::uint8_t>& out, std::uint64_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void putTag(std::vector<std::uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// One read at an offset: FluidSynth loads a preset's samples one by one, and
// a seek and a buffered read would cost two or three system calls each.
bool readAt(std::FILE* f, std::uint64_t at, std::span<std::uint8_t> out) {
    while (!out.empty()) {
        ssize_t n = pread(fileno(f), out.data(), out.size(), static_cast<off_t>(at));
        if (n <= 0) return false;
        at += static_cast<std::uint64_t>(n);
        out = out.subspan(static_cast<std::size_t>(n));
    }
    return true;
}

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
            set16(copied, outGens.count());
            set16(copied + 2, outMods.count());
            outBags.bytes.insert(outBags.bytes.end(), copied, copied + 4);
            for (std::size_t g = le16(bag); g < le16(bags.record(b + 1)); ++g) {
                append(outGens, gens, g);
                std::uint8_t* gen = outGens.bytes.data() + outGens.bytes.size() - gens.recordSize;
                if (le16(gen) == pointer) set16(gen + 2, to[le16(gen + 2)]);
            }
            for (std::size_t m = le16(bag + 2); m < le16(bags.record(b + 1) + 2); ++m) append(outMods, mods, m);
        }
        return start;
    }
    // The terminal records, pointing just past the copied ones.
    void finish() {
        std::uint8_t end[4];
        set16(end, outGens.count());
        set16(end + 2, outMods.count());
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
        set16(out.bytes.data() + out.bytes.size() - headers.recordSize + bagField,
              i < keep.size() ? firstBags[i] : bagCount);
    }
    return out;
}

void putChunk(std::vector<std::uint8_t>& out, const char* tag, const Table& t) {
    putTag(out, tag);
    put32(out, t.bytes.size());
    out.insert(out.end(), t.bytes.begin(), t.bytes.end());
}

}  // namespace

bool SoundFontImage::read(std::uint64_t offset, std::span<std::uint8_t> out, std::FILE* sourceFile) const {
    if (offset > size() || out.size() > size() - offset) return false;
    while (!out.empty()) {
        std::size_t n;
        if (offset < head.size()) {
            n = std::min<std::uint64_t>(out.size(), head.size() - offset);
            std::memcpy(out.data(), head.data() + offset, n);
        } else if (offset < head.size() + sourceLength) {
            std::uint64_t at = offset - head.size();
            n = std::min<std::uint64_t>(out.size(), sourceLength - at);
            if (!readAt(sourceFile, sourceAt + at, out.first(n))) return false;
        } else {
            std::uint64_t at = offset - head.size() - sourceLength;
            n = std::min<std::uint64_t>(out.size(), tail.size() - at);
            std::memcpy(out.data(), tail.data() + at, n);
        }
        offset += n;
        out = out.subspan(n);
    }
    return true;
}

std::optional<SoundFontIndex> SoundFontIndex::read(const std::string& path, std::string& whyNot) {
    whyNot = "not a SoundFont 2 file";
    File file(std::fopen(path.c_str(), "rb"));
    if (!file || fseeko(file.get(), 0, SEEK_END) != 0) return std::nullopt;
    auto fileSize = static_cast<std::uint64_t>(ftello(file.get()));
    std::uint8_t riff[12];
    if (!readAt(file.get(), 0, riff) || std::memcmp(riff, "RIFF", 4) != 0 ||
        std::memcmp(riff + 8, "sfbk", 4) != 0)
        return std::nullopt;
    std::uint64_t end = std::min<std::uint64_t>(fileSize, 8 + std::uint64_t{le32(riff + 4)});

    SoundFontIndex index;
    index.path_ = path;
    std::vector<std::uint8_t> presets;
    for (std::uint64_t at = 12; at + 12 <= end;) {
        std::uint8_t header[12];
        if (!readAt(file.get(), at, header)) return std::nullopt;
        std::uint64_t length = 8 + std::uint64_t{le32(header + 4)};
        std::uint64_t padded = length + (length & 1);
        if (at + length > end) return std::nullopt;
        if (std::memcmp(header, "LIST", 4) == 0) {
            if (std::memcmp(header + 8, "INFO", 4) == 0 && length <= kMaxInfoBytes) {
                index.info_.resize(padded);
                if (!readAt(file.get(), at, std::span(index.info_).first(length))) return std::nullopt;
            } else if (std::memcmp(header + 8, "sdta", 4) == 0) {
                index.samplesAt_ = at;
                index.samplesLength_ = std::min(padded, end - at);
            } else if (std::memcmp(header + 8, "pdta", 4) == 0 && length <= kMaxPresetTablesBytes) {
                presets.resize(length - 12);
                if (!readAt(file.get(), at + 12, presets)) return std::nullopt;
            }
        }
        at += padded;
    }
    if (index.info_.empty() || index.samplesLength_ == 0 || presets.empty()) return std::nullopt;

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
            set16(sample + 42, samples[le16(sample + 42)]);
    }

    SoundFontImage image;
    image.source = path_;
    image.sourceAt = samplesAt_;
    image.sourceLength = samplesLength_;
    std::vector<std::uint8_t>& pdta = image.tail;
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

    std::vector<std::uint8_t>& head = image.head;
    putTag(head, "RIFF");
    put32(head, 4 + info_.size() + samplesLength_ + pdta.size());
    putTag(head, "sfbk");
    head.insert(head.end(), info_.begin(), info_.end());
    return image;
}

}  // namespace vantorix
