// SoundFonts of some presets, cut from a SoundFont 2 file written by the test:
// every kept preset keeps its zones, instruments and samples, renumbered, and
// the sample data stays the very same bytes.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

#include "media/byte_reader.h"
#include "media/sound_font.h"

namespace vantorix {
namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(Bytes& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
void putName(Bytes& b, const std::string& name) {
    char field[20] = {};
    std::memcpy(field, name.data(), std::min<std::size_t>(name.size(), 19));
    b.insert(b.end(), field, field + 20);
}
void putChunk(Bytes& b, const char* tag, const Bytes& body) {
    b.insert(b.end(), tag, tag + 4);
    put32(b, static_cast<std::uint32_t>(body.size()));
    b.insert(b.end(), body.begin(), body.end());
    if (body.size() & 1) b.push_back(0);
}
Bytes list(const char* type, const Bytes& body) {
    Bytes inner(type, type + 4);
    inner.insert(inner.end(), body.begin(), body.end());
    Bytes out;
    putChunk(out, "LIST", inner);
    return out;
}

constexpr std::uint16_t kPan = 17, kInstrument = 41, kSampleId = 53;

// A SoundFont 2 file described zone by zone: a zone is its generators (the
// instrument or sample one last) and its number of modulators.
struct Zone {
    std::vector<std::pair<std::uint16_t, std::uint16_t>> gens;
    int mods = 0;
};
struct Header {
    std::string name;
    std::vector<Zone> zones;
    std::uint16_t program = 0, bank = 0;
};
struct SampleHeader {
    std::string name;
    std::uint16_t link = 0, type = 1;
};

// A SoundFont of `major` version, with 24-bit samples if `lowBytes`.
Bytes soundFont(const std::vector<Header>& presets, const std::vector<Header>& instruments,
                const std::vector<SampleHeader>& samples, std::uint8_t major = 2, bool lowBytes = false) {
    Bytes info, data, pdta;
    putChunk(info, "ifil", {major, 0, 4, 0});
    putChunk(info, "INAM", {'t', 'e', 's', 't', 0, 0});
    Bytes smpl;
    for (std::size_t s = 0; s < samples.size(); ++s)
        for (int i = 0; i < 100; ++i) put16(smpl, static_cast<std::uint32_t>(s * 1000 + i));
    putChunk(data, "smpl", smpl);
    if (lowBytes) {
        Bytes sm24;
        for (std::size_t s = 0; s < samples.size(); ++s)
            for (int i = 0; i < 100; ++i) sm24.push_back(static_cast<std::uint8_t>(s * 16 + i));
        putChunk(data, "sm24", sm24);
    }
    auto zones = [&](const std::vector<Header>& headers, bool isPreset, Bytes& hdr, Bytes& bag, Bytes& mod,
                     Bytes& gen) {
        int bags = 0, gens = 0, mods = 0;
        for (const Header& h : headers) {
            putName(hdr, h.name);
            if (isPreset) {
                put16(hdr, h.program);
                put16(hdr, h.bank);
            }
            put16(hdr, static_cast<std::uint32_t>(bags));
            if (isPreset) hdr.insert(hdr.end(), 12, 0);
            for (const Zone& z : h.zones) {
                put16(bag, static_cast<std::uint32_t>(gens));
                put16(bag, static_cast<std::uint32_t>(mods));
                ++bags;
                for (auto [oper, amount] : z.gens) {
                    put16(gen, oper);
                    put16(gen, amount);
                    ++gens;
                }
                for (int m = 0; m < z.mods; ++m, ++mods) {
                    Bytes one = {2, 1, 48, 0, static_cast<std::uint8_t>(m + 1), 0, 0, 0, 0, 0};
                    mod.insert(mod.end(), one.begin(), one.end());
                }
            }
        }
        putName(hdr, isPreset ? "EOP" : "EOI");
        if (isPreset) hdr.insert(hdr.end(), 4, 0);
        put16(hdr, static_cast<std::uint32_t>(bags));
        if (isPreset) hdr.insert(hdr.end(), 12, 0);
        put16(bag, static_cast<std::uint32_t>(gens));
        put16(bag, static_cast<std::uint32_t>(mods));
        gen.insert(gen.end(), 4, 0);
        mod.insert(mod.end(), 10, 0);
    };
    Bytes phdr, pbag, pmod, pgen, inst, ibag, imod, igen, shdr;
    zones(presets, true, phdr, pbag, pmod, pgen);
    zones(instruments, false, inst, ibag, imod, igen);
    for (std::size_t s = 0; s <= samples.size(); ++s) {
        bool terminal = s == samples.size();
        putName(shdr, terminal ? "EOS" : samples[s].name);
        for (std::uint32_t v : {100 * s, 100 * s + 99, 100 * s + 10, 100 * s + 90, 44100ul}) put32(shdr, terminal ? 0 : v);
        shdr.insert(shdr.end(), {60, 0});
        put16(shdr, terminal ? 0 : samples[s].link);
        put16(shdr, terminal ? 0 : samples[s].type);
    }
    for (auto [tag, table] : {std::pair{"phdr", &phdr}, {"pbag", &pbag}, {"pmod", &pmod}, {"pgen", &pgen},
                              {"inst", &inst}, {"ibag", &ibag}, {"imod", &imod}, {"igen", &igen},
                              {"shdr", &shdr}})
        putChunk(pdta, tag, *table);
    Bytes body = {'s', 'f', 'b', 'k'};
    for (const Bytes& part : {list("INFO", info), list("sdta", data), list("pdta", pdta)})
        body.insert(body.end(), part.begin(), part.end());
    Bytes file;
    putChunk(file, "RIFF", body);
    return file;
}

// Follows a SoundFont's tables by their indexes, as a synthesizer does: each
// preset as "bank:program name" to its instruments' names, each instrument to
// its samples' names (a linked sample as "name>partner"), with the modulators
// of every zone counted.
struct Followed {
    std::map<std::string, std::vector<std::string>> presets, instruments;
    int modulators = 0;
    // Each sample's points, and its low bytes if the file has 24-bit samples.
    std::map<std::string, Bytes> points, lowBytes;
    std::size_t pointsInAll = 0;
};

Followed follow(const Bytes& file) {
    Followed out;
    std::map<std::string, Bytes> t;
    for (std::size_t at = 12; at + 8 <= file.size();) {
        std::size_t length = le32(&file[at + 4]);
        if (std::memcmp(&file[at + 8], "sdta", 4) == 0)
            for (std::size_t c = at + 12; c < at + 8 + length;) {
                std::size_t size = le32(&file[c + 4]);
                t[std::string(&file[c], &file[c + 4])].assign(file.data() + c + 8, file.data() + c + 8 + size);
                c += 8 + size + (size & 1);
            }
        if (std::memcmp(&file[at + 8], "pdta", 4) == 0)
            for (std::size_t c = at + 12; c < at + 8 + length;) {
                std::size_t size = le32(&file[c + 4]);
                t[std::string(&file[c], &file[c + 4])].assign(file.data() + c + 8, file.data() + c + 8 + size);
                c += 8 + size;
            }
        at += 8 + length + (length & 1);
    }
    auto name = [](const Bytes& table, std::size_t size, std::size_t i) {
        return std::string(reinterpret_cast<const char*>(&table[i * size]));
    };
    auto walk = [&](const Bytes& hdr, std::size_t size, std::size_t bagField, const Bytes& bag, const Bytes& gen,
                    std::uint16_t pointer, auto&& pointed, auto&& key, auto& into) {
        for (std::size_t h = 0; h + 1 < hdr.size() / size; ++h)
            for (std::size_t b = le16(&hdr[h * size + bagField]); b < le16(&hdr[(h + 1) * size + bagField]); ++b) {
                out.modulators += le16(&bag[b * 4 + 6]) - le16(&bag[b * 4 + 2]);
                for (std::size_t g = le16(&bag[b * 4]); g < le16(&bag[b * 4 + 4]); ++g)
                    if (le16(&gen[g * 4]) == pointer) into[key(h)].push_back(pointed(le16(&gen[g * 4 + 2])));
            }
    };
    auto sampleName = [&](std::uint16_t s) {
        std::string n = name(t["shdr"], 46, s);
        if (le16(&t["shdr"][s * 46 + 44]) & 0xE) n += ">" + name(t["shdr"], 46, le16(&t["shdr"][s * 46 + 42]));
        return n;
    };
    out.pointsInAll = t["smpl"].size() / 2;
    for (std::size_t h = 0; h + 1 < t["shdr"].size() / 46; ++h) {
        const std::uint8_t* header = &t["shdr"][h * 46];
        std::size_t start = le32(header + 20);
        std::size_t end = le32(header + 24);
        out.points[name(t["shdr"], 46, h)].assign(t["smpl"].begin() + static_cast<long>(2 * start),
                                                   t["smpl"].begin() + static_cast<long>(2 * end));
        if (!t["sm24"].empty())
            out.lowBytes[name(t["shdr"], 46, h)].assign(t["sm24"].begin() + static_cast<long>(start),
                                                         t["sm24"].begin() + static_cast<long>(end));
    }
    walk(t["phdr"], 38, 24, t["pbag"], t["pgen"], kInstrument,
         [&](std::uint16_t i) { return name(t["inst"], 22, i); },
         [&](std::size_t h) {
             return std::to_string(le16(&t["phdr"][h * 38 + 22])) + ":" + std::to_string(le16(&t["phdr"][h * 38 + 20])) +
                    " " + name(t["phdr"], 38, h);
         },
         out.presets);
    walk(t["inst"], 22, 20, t["ibag"], t["igen"], kSampleId, sampleName,
         [&](std::size_t h) { return name(t["inst"], 22, h); }, out.instruments);
    return out;
}

// A subset's sample reaches into the points after it, which FluidSynth plays too.
bool startsWith(const Bytes& subset, const Bytes& original) {
    return subset.size() >= original.size() && std::equal(original.begin(), original.end(), subset.begin());
}

class SoundFontSubset : public ::testing::Test {
protected:
    SoundFontSubset() {
        // Program 80 in two banks, sharing an instrument with a global zone and
        // a stereo pair; a drum kit; piano and strings that a song of lead
        // sounds alone does not need.
        std::vector<Header> presets = {
            {"Piano", {{{{kInstrument, 0}}, 1}}, 0, 0},
            {"Lead", {{{{kPan, 100}}, 2}, {{{kInstrument, 1}}}}, 80, 0},
            {"Strings", {{{{kInstrument, 4}}}}, 48, 0},
            {"Alt Lead", {{{{kInstrument, 1}}}, {{{kInstrument, 2}}, 1}}, 80, 8},
            {"Drums", {{{{kInstrument, 3}}}}, 0, 128},
        };
        std::vector<Header> instruments = {
            {"Piano Inst", {{{{kSampleId, 0}}}}},
            {"Lead Inst", {{{{kPan, 10}}, 1}, {{{kSampleId, 1}}}, {{{kSampleId, 2}}}}},
            {"Alt Inst", {{{{kSampleId, 3}}}}},
            {"Kit", {{{{kSampleId, 4}}}, {{{kSampleId, 5}}, 3}}},
            {"Strings Inst", {{{{kSampleId, 6}}}}},
        };
        std::vector<SampleHeader> samples = {{"piano"}, {"lead L", 2, 4}, {"lead R", 1, 2}, {"alt"},
                                             {"kick"},  {"snare"},         {"strings"}};
        original = soundFont(presets, instruments, samples);
        save();
    }
    ~SoundFontSubset() override { std::filesystem::remove(path); }

    // Writes `original` to the file the index reads.
    void save() {
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(original.data()), static_cast<long>(original.size()));
    }
    Bytes whole(const SoundFontImage& image) {
        std::unique_ptr<std::FILE, int (*)(std::FILE*)> source(std::fopen(image.source().c_str(), "rb"), std::fclose);
        Bytes out(image.size());
        EXPECT_TRUE(image.read(0, out, source.get()));
        return out;
    }
    std::bitset<128> programs(std::initializer_list<int> numbers) {
        std::bitset<128> set;
        for (int n : numbers) set.set(static_cast<std::size_t>(n));
        return set;
    }

    std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("subset " + std::to_string(::getpid()) + ".sf2");
    Bytes original;
};

TEST_F(SoundFontSubset, KeepsThePresetsOfItsProgramsInEveryBankWithAllTheyUse) {
    std::string why;
    auto index = SoundFontIndex::read(path.string(), why);
    ASSERT_TRUE(index) << why;
    Followed all = follow(original);
    Followed lead = follow(whole(index->subset(programs({80}))));
    EXPECT_EQ(lead.presets, (std::map<std::string, std::vector<std::string>>{
                                {"0:80 Lead", {"Lead Inst"}}, {"8:80 Alt Lead", {"Lead Inst", "Alt Inst"}}}));
    EXPECT_EQ(lead.instruments, (std::map<std::string, std::vector<std::string>>{
                                    {"Lead Inst", {"lead L>lead R", "lead R>lead L"}}, {"Alt Inst", {"alt"}}}));
    EXPECT_EQ(lead.modulators, 2 + 1 + 1) << "the zones keep their modulators";
    EXPECT_EQ(lead.points.size(), 3u);
    for (const auto& [name, points] : lead.points)
        EXPECT_TRUE(startsWith(points, all.points[name])) << name << ", point for point";
    EXPECT_LT(lead.pointsInAll, all.pointsInAll) << "the samples of presets not kept are left out";

    Followed drumsAndPiano = follow(whole(index->subset(programs({0}))));
    EXPECT_EQ(drumsAndPiano.presets, (std::map<std::string, std::vector<std::string>>{
                                         {"0:0 Piano", {"Piano Inst"}}, {"128:0 Drums", {"Kit"}}}));
    EXPECT_EQ(drumsAndPiano.instruments["Kit"], (std::vector<std::string>{"kick", "snare"}));

    Followed everything = follow(whole(index->subset(programs({0, 48, 80}))));
    EXPECT_EQ(everything.presets, all.presets);
    EXPECT_EQ(everything.instruments, all.instruments);
    EXPECT_TRUE(follow(whole(index->subset({}))).presets.empty());
}

TEST_F(SoundFontSubset, TheImageIsOneConsistentFileReadFromAnywhere) {
    std::string why;
    auto image = SoundFontIndex::read(path.string(), why)->subset(programs({48, 80}));
    Bytes bytes = whole(image);
    EXPECT_EQ(std::memcmp(bytes.data(), "RIFF", 4), 0);
    EXPECT_EQ(le32(&bytes[4]), bytes.size() - 8);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> source(std::fopen(path.c_str(), "rb"), std::fclose);
    for (std::size_t at = 0; at + 10 <= bytes.size(); ++at) {
        Bytes piece(10);
        ASSERT_TRUE(image.read(at, piece, source.get())) << at;
        ASSERT_TRUE(std::equal(piece.begin(), piece.end(), bytes.begin() + static_cast<long>(at))) << at;
    }
    Bytes past(2);
    EXPECT_FALSE(image.read(image.size() - 1, past, source.get()));
}

TEST_F(SoundFontSubset, TwentyFourBitSamplesKeepTheirLowBytes) {
    original = soundFont({{"Lead", {{{{kInstrument, 0}}}}, 80}, {"Piano", {{{{kInstrument, 1}}}}, 0}},
                         {{"Lead Inst", {{{{kSampleId, 1}}}}}, {"Piano Inst", {{{{kSampleId, 0}}}}}},
                         {{"piano"}, {"lead"}}, 2, true);
    save();
    std::string why;
    auto index = SoundFontIndex::read(path.string(), why);
    ASSERT_TRUE(index) << why;
    Followed all = follow(original), lead = follow(whole(index->subset(programs({80}))));
    ASSERT_EQ(lead.lowBytes.size(), 1u);
    EXPECT_TRUE(startsWith(lead.lowBytes["lead"], all.lowBytes["lead"]));
    EXPECT_TRUE(startsWith(lead.points["lead"], all.points["lead"]));

    // A later sample list without low bytes is the one that counts: the first's
    // low bytes belong to other points.
    Bytes points;
    putChunk(points, "smpl", Bytes(400, 0));
    Bytes later = list("sdta", points);
    original.insert(original.end(), later.begin(), later.end());
    for (int i = 0; i < 4; ++i) original[4 + i] = static_cast<std::uint8_t>((original.size() - 8) >> (8 * i));
    save();
    index = SoundFontIndex::read(path.string(), why);
    ASSERT_TRUE(index) << why;
    EXPECT_TRUE(follow(whole(index->subset(programs({80})))).lowBytes.empty());
}

TEST_F(SoundFontSubset, HeadersThatNameTheSamePointsShareThemInTheCut) {
    // A file may point any number of headers at one stretch of points; the cut
    // must not copy it for each, or a small hostile file would ask for gigabytes.
    Header many{"Many", {}};
    std::vector<SampleHeader> samples;
    for (std::uint16_t s = 0; s < 200; ++s) {
        many.zones.push_back({{{kSampleId, s}}});
        samples.push_back({"s" + std::to_string(s)});
    }
    original = soundFont({{"P", {{{{kInstrument, 0}}}}}}, {many}, samples);
    auto shdr = std::search(original.begin(), original.end(), std::begin("shdr"), std::end("shdr") - 1) + 8;
    for (int s = 1; s < 200; ++s) std::copy(shdr + 20, shdr + 36, shdr + 46 * s + 20);
    save();
    std::string why;
    auto index = SoundFontIndex::read(path.string(), why);
    ASSERT_TRUE(index) << why;
    Followed all = follow(original), cut = follow(whole(index->subset(programs({0}))));
    EXPECT_LE(cut.pointsInAll, 100u + 46u) << "one sample's points and the guard points after them";
    ASSERT_EQ(cut.points.size(), 200u);
    for (const auto& [name, points] : cut.points) EXPECT_TRUE(startsWith(points, all.points["s0"])) << name;
}

TEST_F(SoundFontSubset, FilesThatAreNoSoundFontOrPointAstrayAreRefused) {
    std::string why;
    auto write = [&](const Bytes& bytes) {
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
        return SoundFontIndex::read(path.string(), why);
    };
    EXPECT_FALSE(write({'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}));
    EXPECT_FALSE(write(Bytes(original.begin(), original.begin() + 200))) << "cut short";
    EXPECT_FALSE(write(soundFont({{"Stray", {{{{kInstrument, 7}}}}}}, {{"Inst", {{{{kSampleId, 0}}}}}}, {{"s"}})))
        << "an instrument that is not there";
    EXPECT_FALSE(write(soundFont({{"P", {{{{kInstrument, 0}}}}}}, {{"Inst", {{{{kSampleId, 3}}}}}}, {{"s"}})))
        << "a sample that is not there";
    EXPECT_FALSE(write(soundFont({{"P", {{{{kInstrument, 0}}}}}}, {{"Inst", {{{{kSampleId, 0}}}}}}, {{"s"}}, 3)))
        << "compressed samples, counted in bytes";
    Bytes shortList = original;
    auto pdta = std::search(shortList.begin(), shortList.end(), std::begin("pdta"), std::end("pdta") - 1);
    std::fill(pdta - 4, pdta, 0);
    pdta[-4] = 3;
    EXPECT_FALSE(write(shortList)) << "a list too short for its own type";
    EXPECT_FALSE(write(soundFont(std::vector<Header>(0x10000, Header{"P", {}}), {{"Inst", {{{{kSampleId, 0}}}}}}, {{"s"}})))
        << "more presets than 16-bit numbers reach";
    EXPECT_FALSE(SoundFontIndex::read("/no/such.sf2", why));
    EXPECT_FALSE(why.empty());
}

}  // namespace
}  // namespace vantorix
