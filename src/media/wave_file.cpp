#include "media/wave_file.h"

#include <climits>
#include <cstring>

#include "media/byte_reader.h"

namespace vantorix {

namespace {

constexpr std::uint16_t kPcmTag = 1;
constexpr std::uint16_t kMsAdpcmTag = 2;
constexpr std::uint16_t kFloatTag = 3;
constexpr std::uint16_t kALawTag = 6;
constexpr std::uint16_t kMuLawTag = 7;
constexpr std::uint16_t kImaAdpcmTag = 0x11;
constexpr std::uint16_t kExtensibleTag = 0xFFFE;
// An extensible header names its coding by a GUID: the two-byte tag, then these.
constexpr std::uint8_t kGuidTail[14] = {0, 0, 0, 0, 16, 0, 128, 0, 0, 170, 0, 56, 155, 113};

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void putChunk(std::vector<std::uint8_t>& out, const char* tag,
              std::span<const std::uint8_t> body) {
    out.insert(out.end(), tag, tag + 4);
    put32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() & 1) out.push_back(0);
}

std::vector<std::uint8_t> riffWave(std::span<const std::uint8_t> format,
                                   std::span<const std::uint8_t> samples) {
    std::vector<std::uint8_t> out = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    out.reserve(30 + format.size() + samples.size());
    putChunk(out, "fmt ", format);
    putChunk(out, "data", samples);
    auto riffLength = static_cast<std::uint32_t>(out.size() - 8);
    for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<std::uint8_t>(riffLength >> (8 * i));
    return out;
}

// The coding a fmt chunk names, looking through an extensible header's GUID.
std::optional<std::uint16_t> codingTag(std::span<const std::uint8_t> format) {
    std::uint16_t tag = le16(format.data());
    if (tag != kExtensibleTag) return tag;
    if (format.size() < 40 || le16(format.data() + 16) < 22) return std::nullopt;
    if (std::memcmp(format.data() + 26, kGuidTail, sizeof kGuidTail) != 0) return std::nullopt;
    return le16(format.data() + 24);
}

// ADPCM: how many frames a block holds, as the header gives it or, when it gives
// none, as many as the block has room for. Zero when the header's count cannot fit.
int adpcmFramesPerBlock(const WaveFile& wave, int headerBytes, int framesInHeader) {
    int room = (wave.blockAlign - headerBytes) * 2 / wave.channels + framesInHeader;
    bool given = wave.format.size() >= 20 && le16(wave.format.data() + 16) >= 2;
    int frames = given ? le16(wave.format.data() + 18) : 0;
    if (frames == 0) frames = room;
    return frames > 1 && frames <= room ? frames : 0;
}

// Checks the fmt chunk against what the wave loader decodes and fills in the format.
bool readFormat(WaveFile& wave, std::string& whyNot) {
    auto fmt = wave.format;
    if (fmt.size() < 16) return whyNot = "format chunk too short", false;
    auto tag = codingTag(fmt);
    wave.channels = le16(fmt.data() + 2);
    std::uint32_t rate = le32(fmt.data() + 4);
    wave.blockAlign = le16(fmt.data() + 12);
    wave.bitsPerSample = le16(fmt.data() + 14);
    if (!tag || wave.channels == 0 || wave.channels > 255 || rate == 0 || rate > INT_MAX ||
        wave.blockAlign == 0)
        return whyNot = "unsupported sample format", false;
    wave.sampleRate = static_cast<int>(rate);
    bool plainBlocks = wave.blockAlign * 8 == wave.channels * wave.bitsPerSample;
    bool extensible = le16(fmt.data()) == kExtensibleTag;
    bool known = false;
    switch (*tag) {
        case kPcmTag:
            wave.coding = WaveFile::Coding::Pcm;
            known = plainBlocks && (wave.bitsPerSample == 8 || wave.bitsPerSample == 16 ||
                                    wave.bitsPerSample == 24 || wave.bitsPerSample == 32);
            break;
        case kFloatTag:
            wave.coding = WaveFile::Coding::Float;
            known = plainBlocks && wave.bitsPerSample == 32;
            break;
        case kALawTag:
        case kMuLawTag:
            wave.coding = *tag == kALawTag ? WaveFile::Coding::ALaw : WaveFile::Coding::MuLaw;
            known = plainBlocks && wave.bitsPerSample == 8;
            break;
        case kMsAdpcmTag:
            wave.coding = WaveFile::Coding::MsAdpcm;
            known = !extensible && wave.bitsPerSample == 4 && wave.channels <= 2 &&
                    fmt.size() >= 22 && wave.blockAlign >= 7 * wave.channels &&
                    (wave.framesPerBlock = adpcmFramesPerBlock(wave, 7 * wave.channels, 2)) > 0;
            break;
        case kImaAdpcmTag:
            wave.coding = WaveFile::Coding::ImaAdpcm;
            known = wave.bitsPerSample == 4 && wave.blockAlign % 4 == 0 &&
                    wave.blockAlign >= 4 * wave.channels &&
                    (wave.framesPerBlock = adpcmFramesPerBlock(wave, 4 * wave.channels, 1)) > 0;
            break;
    }
    if (!known) whyNot = "unsupported sample format";
    return known;
}

// The bytes one decoded sample takes before mixing.
int decodedSampleBytes(const WaveFile& wave) {
    switch (wave.coding) {
        case WaveFile::Coding::Pcm:
            return wave.bitsPerSample == 24 ? 4 : wave.bitsPerSample / 8;
        case WaveFile::Coding::Float:
            return 4;
        default:
            return 2;
    }
}

}  // namespace

std::optional<WaveFile> WaveFile::parse(std::span<const std::uint8_t> bytes, std::string& whyNot) {
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
        whyNot = "not a wave file";
        return std::nullopt;
    }
    WaveFile wave;
    bool haveFormat = false;
    std::size_t pos = 12;
    while (bytes.size() - pos >= 8) {
        const std::uint8_t* chunk = bytes.data() + pos;
        std::size_t length = le32(chunk + 4);
        std::size_t available = bytes.size() - pos - 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0 && !haveFormat) {
            wave.format = bytes.subspan(pos + 8, std::min(length, available));
            if (!readFormat(wave, whyNot)) return std::nullopt;
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat) break;
            // A file cut short keeps the whole blocks it still has.
            std::size_t blockBytes = static_cast<std::size_t>(wave.blockAlign);
            std::size_t usable = std::min(length, available) / blockBytes * blockBytes;
            if (usable == 0) {
                whyNot = "no samples";
                return std::nullopt;
            }
            wave.samples = bytes.subspan(pos + 8, usable);
            return wave;
        }
        if (length > available) break;
        // A chunk of odd length is followed by a pad byte.
        pos += 8 + length + (length & 1);
        if (pos > bytes.size()) break;
    }
    whyNot = haveFormat ? "no sample data" : "no format chunk";
    return std::nullopt;
}

std::int64_t WaveFile::frames() const {
    return static_cast<std::int64_t>(samples.size() / static_cast<std::size_t>(blockAlign)) *
           framesPerBlock;
}

std::int64_t WaveFile::lengthMs() const { return frames() * 1000 / sampleRate; }

std::uint64_t WaveFile::decodedBytes(int mixerRate) const {
    auto count = static_cast<std::uint64_t>(frames());
    std::uint64_t decoded = count * static_cast<std::uint64_t>(channels * decodedSampleBytes(*this));
    auto rate = static_cast<std::uint64_t>(sampleRate);
    std::uint64_t mixed = (count * static_cast<std::uint64_t>(mixerRate) + rate - 1) / rate * 4;
    return std::max(decoded, mixed);
}

std::vector<std::uint8_t> WaveFile::canonicalBytes() const { return riffWave(format, samples); }

std::vector<std::uint8_t> monoWaveBytes(std::span<const std::int16_t> samples, int sampleRate) {
    std::vector<std::uint8_t> format;
    put16(format, kPcmTag);
    put16(format, 1);
    put32(format, static_cast<std::uint32_t>(sampleRate));
    put32(format, static_cast<std::uint32_t>(sampleRate) * 2);
    put16(format, 2);
    put16(format, 16);
    std::vector<std::uint8_t> raw;
    raw.reserve(samples.size() * 2);
    for (std::int16_t s : samples) put16(raw, static_cast<std::uint16_t>(s));
    return riffWave(format, raw);
}

}  // namespace vantorix
