#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vantorix {

// A PCM wave file as the effects use it: checked, with its samples located.
struct WaveFile {
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    std::span<const std::uint8_t> samples;  // whole frames only

    static std::optional<WaveFile> parse(std::span<const std::uint8_t> bytes, std::string& whyNot);

    std::int64_t frames() const;
    std::int64_t lengthMs() const;
    // The same sound as a plain, canonical RIFF/WAVE image.
    std::vector<std::uint8_t> canonicalBytes() const;

    // Effects are seconds long; a file far larger than that is not one.
    static constexpr std::size_t kMaxBytes = 16 * 1024 * 1024;
};

// A canonical 16-bit mono wave image of the given samples.
std::vector<std::uint8_t> monoWaveBytes(std::span<const std::int16_t> samples, int sampleRate);

}  // namespace vantorix
