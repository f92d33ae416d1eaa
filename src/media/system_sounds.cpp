#include "media/system_sounds.h"

#include <cmath>
#include <cstring>
#include <numbers>

#include "media/byte_reader.h"

namespace vantorix {

namespace {

struct Note {
    double hz;
    double seconds;
};

// Sine notes one after another, each with a quick attack and an exponential decay.
std::vector<std::uint8_t> tones(std::initializer_list<Note> notes, double decay, int rate) {
    std::vector<std::int16_t> samples;
    for (const Note& note : notes) {
        int count = static_cast<int>(note.seconds * rate);
        for (int i = 0; i < count; ++i) {
            double t = static_cast<double>(i) / rate;
            double attack = std::min(1.0, t / 0.004);
            double release = std::min(1.0, (count - i) / (0.004 * rate));
            double envelope = attack * release * std::exp(-t * decay);
            double s = std::sin(2 * std::numbers::pi * note.hz * t) * envelope * 0.5;
            samples.push_back(static_cast<std::int16_t>(s * 32767));
        }
    }
    return monoWaveBytes(samples, rate);
}

}  // namespace

std::vector<std::uint8_t> beepWave(int sampleRate) {
    return tones({{880.0, 0.12}}, 8.0, sampleRate);
}

std::vector<std::uint8_t> defaultSoundWave(int sampleRate) {
    return tones({{784.0, 0.12}, {523.25, 0.2}}, 10.0, sampleRate);
}

std::vector<std::uint8_t> monoWaveBytes(std::span<const std::int16_t> samples, int sampleRate) {
    auto dataBytes = static_cast<std::uint32_t>(2 * samples.size());
    auto rate = static_cast<std::uint32_t>(sampleRate);
    // The 44 bytes of a plain wave file's header, then the samples.
    std::vector<std::uint8_t> out(44 + dataBytes);
    std::memcpy(&out[0], "RIFF", 4);
    setLe32(&out[4], 36 + dataBytes);
    std::memcpy(&out[8], "WAVEfmt ", 8);
    setLe32(&out[16], 16);
    setLe16(&out[20], 1);         // PCM
    setLe16(&out[22], 1);         // one channel
    setLe32(&out[24], rate);
    setLe32(&out[28], rate * 2);  // bytes a second
    setLe16(&out[32], 2);         // bytes a frame
    setLe16(&out[34], 16);        // bits a sample
    std::memcpy(&out[36], "data", 4);
    setLe32(&out[40], dataBytes);
    for (std::size_t i = 0; i < samples.size(); ++i) setLe16(&out[44 + 2 * i], static_cast<std::uint16_t>(samples[i]));
    return out;
}

}  // namespace vantorix
