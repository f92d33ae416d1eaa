#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "media/wave_file.h"

namespace vantorix {

// An effect read from its file and sized, its bytes ready for SDL's wave loader.
struct EffectFile {
    std::vector<std::uint8_t> bytes;
    WaveFile wave;
};

// Effects last seconds. These bounds are far beyond any real one and keep a
// stray file from filling the memory: the sound decoded for the mixer, and the
// file itself (room for the sound and its metadata).
constexpr std::uint64_t kMaxEffectDecodedBytes = 32 * 1024 * 1024;
constexpr std::size_t kMaxEffectFileBytes = 2 * kMaxEffectDecodedBytes;

// Reads the effect at `path` for a mixer at `mixerRate`. Nothing when it cannot
// be sized or is too large: `whyNot` says why, and `tooLarge` whether its size
// alone is at fault. Whether its coding plays is for the wave loader to say.
std::optional<EffectFile> readEffect(const std::string& path, int mixerRate, std::string& whyNot,
                                     bool& tooLarge);

// How long the mixer's stereo 16-bit frames play, in 64 bits: a sound of a few
// minutes already overflows 32-bit milliseconds-times-bytes arithmetic.
constexpr std::int64_t mixedLengthMs(std::uint64_t bytes, int sampleRate) {
    return static_cast<std::int64_t>(bytes / 4 * 1000 / static_cast<std::uint64_t>(sampleRate));
}

}  // namespace vantorix
