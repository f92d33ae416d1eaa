#include "media/system_sounds.h"

#include <cmath>
#include <numbers>

#include "media/wave_file.h"

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

}  // namespace vantorix
