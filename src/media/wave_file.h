#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace vantorix {

// What the effects need to know of a wave file before SDL's wave loader has
// it: the numbers of its format and where its sound lies, enough to tell how
// long the sound plays and how much memory it takes decoded. Which codings
// play, and the rules of their headers, are the loader's to decide.
struct WaveFile {
    std::uint16_t coding = 0;  // the format tag, or an extensible header's own
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    int blockAlign = 0;         // bytes of one block: one frame, or one ADPCM block
    std::size_t dataAt = 0;     // where the data chunk's body starts in the file
    std::size_t dataBytes = 0;  // as much of that body as the file holds

    // Nothing, and why, when the file has no format and data to reckon by.
    static std::optional<WaveFile> parse(std::span<const std::uint8_t> bytes, std::string& whyNot);

    // The frames of the whole blocks, all the loader decodes of a file cut short.
    std::int64_t frames() const;
    std::int64_t lengthMs() const;
    // What the sound takes in memory once decoded: the larger of the decoder's
    // output and the mixer's stereo 16-bit frames at `mixerRate`.
    std::uint64_t decodedBytes(int mixerRate) const;
};

}  // namespace vantorix
