#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace media {

inline constexpr int kSampleRate = 22050;
using Samples = std::vector<float>;

std::size_t sampleCount(double seconds);
double secondsAt(std::size_t index);

// Equal temperament, A4 (key 69) = 440 Hz.
double noteFrequency(int key);

enum class Waveform { sine, triangle, square };

// Phase-accumulating oscillator, so pitch can glide sample by sample without
// clicks. Square edges are band-limited to keep the top end clean.
class Oscillator {
public:
    explicit Oscillator(Waveform shape, double duty = 0.5);
    double next(double frequency);

private:
    Waveform shape_;
    double duty_;
    double phase_ = 0.0;
};

// Seeded xorshift generator: noise must come out identical on every run.
class Noise {
public:
    explicit Noise(std::uint32_t seed);
    double next(); // uniform in [-1, 1)

private:
    std::uint32_t state_;
};

// Resonant state-variable filter in trapezoidal form; stays stable while the
// cutoff sweeps anywhere below Nyquist.
class Filter {
public:
    struct Output {
        double low;
        double band; // unity gain at the cutoff
    };
    Output process(double input, double cutoff, double resonance);

private:
    double state1_ = 0.0;
    double state2_ = 0.0;
};

// How a jingle part sounds: waveform plus an attack/decay/sustain/release
// envelope kept inside each note's length, and delayed vibrato for long notes.
// The release scales with the note, so short notes stay crisp and held final
// notes die away gently.
struct Voice {
    Waveform shape;
    double duty;
    double gain;
    double decaySeconds;
    double sustain;
    double releaseShare; // closing part of each note that fades out
    double vibratoDepth; // fraction of the frequency
};

struct Note {
    double start;
    double length;
    int key;
};

void play(Samples& out, const Voice& voice, const std::vector<Note>& notes);

} // namespace media
