#include "audio/wave_file.h"

#include <cstring>

namespace vantorix {

namespace {

std::uint32_t le32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void putTag(std::vector<std::uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(tag[i]));
}

std::vector<std::uint8_t> waveImage(int channels, int rate, int bits,
                                    std::span<const std::uint8_t> samples) {
    std::vector<std::uint8_t> out;
    out.reserve(44 + samples.size());
    auto blockAlign = static_cast<std::uint16_t>(channels * bits / 8);
    putTag(out, "RIFF");
    put32(out, static_cast<std::uint32_t>(36 + samples.size()));
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);
    put16(out, 1);
    put16(out, static_cast<std::uint16_t>(channels));
    put32(out, static_cast<std::uint32_t>(rate));
    put32(out, static_cast<std::uint32_t>(rate) * blockAlign);
    put16(out, blockAlign);
    put16(out, static_cast<std::uint16_t>(bits));
    putTag(out, "data");
    put32(out, static_cast<std::uint32_t>(samples.size()));
    out.insert(out.end(), samples.begin(), samples.end());
    return out;
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
    while (pos <= bytes.size() && bytes.size() - pos >= 8) {
        const std::uint8_t* chunk = bytes.data() + pos;
        std::size_t length = le32(chunk + 4);
        std::size_t available = bytes.size() - pos - 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (length < 16 || available < 16) break;
            if (le16(chunk + 8) != 1) {
                whyNot = "not PCM";
                return std::nullopt;
            }
            wave.channels = le16(chunk + 10);
            wave.sampleRate = static_cast<int>(le32(chunk + 12));
            wave.bitsPerSample = le16(chunk + 22);
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat) break;
            bool sane = wave.channels >= 1 && wave.channels <= 2 && wave.sampleRate >= 4000 &&
                        wave.sampleRate <= 192000 &&
                        (wave.bitsPerSample == 8 || wave.bitsPerSample == 16);
            if (!sane) {
                whyNot = "unsupported sample format";
                return std::nullopt;
            }
            // A file cut short keeps the whole frames it still has.
            std::size_t frameBytes = static_cast<std::size_t>(wave.channels * wave.bitsPerSample / 8);
            std::size_t usable = std::min(length, available) / frameBytes * frameBytes;
            if (usable == 0) {
                whyNot = "no samples";
                return std::nullopt;
            }
            wave.samples = bytes.subspan(pos + 8, usable);
            return wave;
        }
        if (length > available) break;
        pos += 8 + length + (length & 1);
    }
    whyNot = haveFormat ? "no sample data" : "no format chunk";
    return std::nullopt;
}

std::int64_t WaveFile::frames() const {
    return static_cast<std::int64_t>(samples.size()) / (channels * bitsPerSample / 8);
}

std::int64_t WaveFile::lengthMs() const { return frames() * 1000 / sampleRate; }

std::vector<std::uint8_t> WaveFile::canonicalBytes() const {
    return waveImage(channels, sampleRate, bitsPerSample, samples);
}

std::vector<std::uint8_t> monoWaveBytes(std::span<const std::int16_t> samples, int sampleRate) {
    std::vector<std::uint8_t> raw;
    raw.reserve(samples.size() * 2);
    for (std::int16_t s : samples) {
        raw.push_back(static_cast<std::uint8_t>(s & 0xFF));
        raw.push_back(static_cast<std::uint8_t>((s >> 8) & 0xFF));
    }
    return waveImage(1, sampleRate, 16, raw);
}

}  // namespace vantorix
