#pragma once

// Wave files of every coding the effects accept, written by hand for the tests.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <string>
#include <vector>

namespace vantorix::testing {

using Bytes = std::vector<std::uint8_t>;

inline void putLe(Bytes& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// One RIFF chunk, with its pad byte when its length is odd.
inline Bytes riffChunk(const char* tag, const Bytes& body) {
    Bytes out(tag, tag + 4);
    putLe(out, static_cast<std::uint32_t>(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() & 1) out.push_back(0);
    return out;
}

inline Bytes riffWave(const std::vector<Bytes>& chunks) {
    Bytes body = {'W', 'A', 'V', 'E'};
    for (const Bytes& c : chunks) body.insert(body.end(), c.begin(), c.end());
    Bytes out = {'R', 'I', 'F', 'F'};
    putLe(out, static_cast<std::uint32_t>(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

// A fmt chunk's body; `extra` follows a size field when there is any.
inline Bytes formatBody(std::uint16_t tag, int channels, int rate, int bits, int blockAlign,
                        const Bytes& extra = {}) {
    Bytes out;
    putLe(out, tag, 2);
    putLe(out, static_cast<std::uint32_t>(channels), 2);
    putLe(out, static_cast<std::uint32_t>(rate), 4);
    putLe(out, static_cast<std::uint32_t>(rate * blockAlign), 4);
    putLe(out, static_cast<std::uint32_t>(blockAlign), 2);
    putLe(out, static_cast<std::uint32_t>(bits), 2);
    if (!extra.empty()) {
        putLe(out, static_cast<std::uint32_t>(extra.size()), 2);
        out.insert(out.end(), extra.begin(), extra.end());
    }
    return out;
}

// A sine of `hz` at half of full scale, in PCM of 8, 16, 24 or 32 bits, or 32-bit float.
inline Bytes sineSamples(int bits, bool isFloat, int channels, int rate, double seconds,
                         double hz) {
    Bytes out;
    auto frames = static_cast<int>(seconds * rate);
    for (int i = 0; i < frames; ++i) {
        double s = 0.5 * std::sin(2 * std::numbers::pi * hz * i / rate);
        for (int c = 0; c < channels; ++c) {
            if (isFloat) {
                float f = static_cast<float>(s);
                std::uint32_t raw;
                std::memcpy(&raw, &f, 4);
                putLe(out, raw, 4);
            } else if (bits == 8) {
                out.push_back(static_cast<std::uint8_t>(128 + std::lround(s * 127)));
            } else {
                double full = std::ldexp(1.0, bits - 1) - 1;
                putLe(out, static_cast<std::uint32_t>(std::llround(s * full)), bits / 8);
            }
        }
    }
    return out;
}

inline Bytes sineWave(int bits, bool isFloat, int channels, int rate, double seconds,
                      double hz = 440) {
    return riffWave({riffChunk("fmt ", formatBody(isFloat ? 3 : 1, channels, rate, bits,
                                                  channels * bits / 8)),
                     riffChunk("data", sineSamples(bits, isFloat, channels, rate, seconds, hz))});
}

// WAVE_FORMAT_EXTENSIBLE around PCM or float.
inline Bytes extensibleWave(int bits, bool isFloat, int channels, int rate, double seconds) {
    Bytes extra;
    putLe(extra, static_cast<std::uint32_t>(bits), 2);
    putLe(extra, (1u << channels) - 1, 4);
    putLe(extra, isFloat ? 3 : 1, 2);
    for (std::uint8_t b : {0, 0, 0, 0, 16, 0, 128, 0, 0, 170, 0, 56, 155, 113}) extra.push_back(b);
    return riffWave({riffChunk("fmt ", formatBody(0xFFFE, channels, rate, bits,
                                                  channels * bits / 8, extra)),
                     riffChunk("data", sineSamples(bits, isFloat, channels, rate, seconds, 440))});
}

// A-law (tag 6) or µ-law (7): one byte a sample, any byte a valid one.
inline Bytes lawWave(std::uint16_t tag, int channels, int rate, int frames) {
    Bytes data;
    for (int i = 0; i < frames * channels; ++i) data.push_back(static_cast<std::uint8_t>(i * 37));
    return riffWave({riffChunk("fmt ", formatBody(tag, channels, rate, 8, channels)),
                     riffChunk("data", data)});
}

// IMA ADPCM (tag 0x11) in blocks of 256 bytes a channel, or Microsoft ADPCM (tag 2)
// with its seven standard coefficient pairs; the blocks are silence.
inline Bytes adpcmWave(std::uint16_t tag, int channels, int rate, int blocks) {
    int blockAlign = 256 * channels;
    Bytes extra;
    if (tag == 0x11) {
        putLe(extra, static_cast<std::uint32_t>((blockAlign - 4 * channels) * 2 / channels + 1), 2);
    } else {
        putLe(extra, static_cast<std::uint32_t>((blockAlign - 7 * channels) * 2 / channels + 2), 2);
        putLe(extra, 7, 2);
        for (int c : {256, 0, 512, -256, 0, 0, 192, 64, 240, 0, 460, -208, 392, -232})
            putLe(extra, static_cast<std::uint32_t>(c), 2);
    }
    Bytes data(static_cast<std::size_t>(blockAlign * blocks), 0);
    if (tag == 2)  // each block's initial delta
        for (int b = 0; b < blocks; ++b)
            for (int c = 0; c < channels; ++c) data[b * blockAlign + channels + 2 * c] = 16;
    return riffWave({riffChunk("fmt ", formatBody(tag, channels, rate, 4, blockAlign, extra)),
                     riffChunk("data", data)});
}

}  // namespace vantorix::testing
