#include "media/wave_file.h"

#include <algorithm>
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

// The bytes a sample takes as the loader decodes it; none in codings it does not decode.
int decodedSampleBytes(const WaveFile& wave) {
    switch (wave.coding) {
        case kPcmTag:
            return wave.bitsPerSample == 24 ? 4 : wave.bitsPerSample / 8;
        case kFloatTag:
            return 4;
        case kALawTag:
        case kMuLawTag:
        case kMsAdpcmTag:
        case kImaAdpcmTag:
            return 2;
        default:
            return 0;
    }
}

// The frames a block holds: one, or in ADPCM as many as its block has room for
// at two samples a byte after each channel's header, which holds the first
// frame or two. The loader takes no more than that.
std::int64_t framesPerBlock(const WaveFile& wave) {
    auto adpcm = [&](int headerBytes, int framesInHeader) {
        return std::max(0, (wave.blockAlign - headerBytes * wave.channels) * 2 / wave.channels + framesInHeader);
    };
    switch (wave.coding) {
        case kMsAdpcmTag:
            return adpcm(7, 2);
        case kImaAdpcmTag:
            return adpcm(4, 1);
        default:
            return 1;
    }
}

// Fills in the numbers of the format; false when they give nothing to reckon a
// size by, which the loader refuses too.
bool readFormat(WaveFile& wave, std::span<const std::uint8_t> fmt) {
    if (fmt.size() < 16) return false;
    std::uint32_t rate = le32(fmt.data() + 4);
    if (rate == 0 || rate > INT_MAX) return false;
    wave.sampleRate = static_cast<int>(rate);
    wave.coding = le16(fmt.data());
    // An extensible header names its coding in the first two bytes of its GUID.
    if (wave.coding == kExtensibleTag && fmt.size() >= 26) wave.coding = le16(fmt.data() + 24);
    wave.channels = le16(fmt.data() + 2);
    wave.blockAlign = le16(fmt.data() + 12);
    wave.bitsPerSample = le16(fmt.data() + 14);
    return wave.channels > 0 && wave.blockAlign > 0;
}

}  // namespace

std::optional<WaveFile> WaveFile::parse(std::span<const std::uint8_t> bytes, std::string& whyNot) {
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
        whyNot = "not a wave file";
        return std::nullopt;
    }
    // The loader takes the first format chunk, and refuses a file whose first
    // data chunk comes before it.
    std::optional<std::span<const std::uint8_t>> format;
    for (std::size_t pos = 12; bytes.size() - pos >= 8;) {
        const std::uint8_t* chunk = bytes.data() + pos;
        std::size_t length = le32(chunk + 4);
        std::size_t available = bytes.size() - pos - 8;
        auto body = bytes.subspan(pos + 8, std::min(length, available));
        if (std::memcmp(chunk, "data", 4) == 0) {
            if (!format) break;
            WaveFile wave;
            wave.dataAt = pos + 8;
            wave.dataBytes = body.size();
            if (!readFormat(wave, *format)) {
                whyNot = "a format with nothing to reckon a size by";
                return std::nullopt;
            }
            return wave;
        }
        if (std::memcmp(chunk, "fmt ", 4) == 0 && !format) format = body;
        // A chunk of odd length is followed by a pad byte.
        pos += 8 + std::min(length + (length & 1), available);
    }
    whyNot = "no data after a format chunk";
    return std::nullopt;
}

std::int64_t WaveFile::frames() const {
    return static_cast<std::int64_t>(dataBytes / static_cast<std::size_t>(blockAlign)) * framesPerBlock(*this);
}

std::int64_t WaveFile::lengthMs() const { return frames() * 1000 / sampleRate; }

std::uint64_t WaveFile::decodedBytes(int mixerRate) const {
    auto count = static_cast<std::uint64_t>(frames());
    std::uint64_t decoded = count * static_cast<std::uint64_t>(channels * decodedSampleBytes(*this));
    auto rate = static_cast<std::uint64_t>(sampleRate);
    std::uint64_t mixed = (count * static_cast<std::uint64_t>(mixerRate) + rate - 1) / rate * 4;
    return std::max(decoded, mixed);
}

}  // namespace vantorix
