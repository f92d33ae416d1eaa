#include "wave_writer.h"

#include <algorithm>
#include <cmath>

namespace media {
namespace {

constexpr std::uint32_t kHeaderSize = 44;
constexpr std::uint32_t kChannels = 1;
constexpr std::uint32_t kBytesPerSample = 2;
constexpr std::uint32_t kFormatChunkSize = 16;
constexpr std::uint32_t kPcmFormat = 1;

} // namespace

Bytes encodeWave(const Samples& samples)
{
    const auto dataSize = static_cast<std::uint32_t>(samples.size() * kBytesPerSample);

    Bytes out;
    out.reserve(kHeaderSize + dataSize);
    appendTag(out, "RIFF");
    appendLittleEndian(out, kHeaderSize - 8 + dataSize, 4);
    appendTag(out, "WAVE");

    appendTag(out, "fmt ");
    appendLittleEndian(out, kFormatChunkSize, 4);
    appendLittleEndian(out, kPcmFormat, 2);
    appendLittleEndian(out, kChannels, 2);
    appendLittleEndian(out, kSampleRate, 4);
    appendLittleEndian(out, kSampleRate * kChannels * kBytesPerSample, 4);
    appendLittleEndian(out, kChannels * kBytesPerSample, 2);
    appendLittleEndian(out, kBytesPerSample * 8, 2);

    appendTag(out, "data");
    appendLittleEndian(out, dataSize, 4);
    for (const float sample : samples) {
        const long value = std::lround(std::clamp(sample, -1.0f, 1.0f) * 32767.0f);
        appendLittleEndian(out, static_cast<std::uint32_t>(static_cast<std::int16_t>(value)), 2);
    }
    return out;
}

} // namespace media
