#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vantorix {

// A wave file in any of the codings SDL's wave loader decodes: its format, checked,
// and its coded samples located, cut to whole blocks.
struct WaveFile {
    enum class Coding { Pcm, Float, ALaw, MuLaw, MsAdpcm, ImaAdpcm };

    Coding coding = Coding::Pcm;
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    int blockAlign = 0;      // bytes of one block: one frame, or one ADPCM block
    int framesPerBlock = 1;  // more than one only for ADPCM
    std::span<const std::uint8_t> format;   // the fmt chunk's body as written
    std::span<const std::uint8_t> samples;  // whole blocks only

    static std::optional<WaveFile> parse(std::span<const std::uint8_t> bytes, std::string& whyNot);

    std::int64_t frames() const;
    std::int64_t lengthMs() const;
    // What the sound takes in memory once decoded: the larger of the decoder's
    // output and the mixer's stereo 16-bit frames at `mixerRate`.
    std::uint64_t decodedBytes(int mixerRate) const;
    // The same sound as a plain RIFF/WAVE image: the fmt chunk, then the data.
    std::vector<std::uint8_t> canonicalBytes() const;
};

// A canonical 16-bit mono wave image of the given samples.
std::vector<std::uint8_t> monoWaveBytes(std::span<const std::int16_t> samples, int sampleRate);

}  // namespace vantorix
