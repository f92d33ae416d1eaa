#include "synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace media {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Polynomial correction around a waveform discontinuity (PolyBLEP).
double edgeCorrection(double phase, double step)
{
    if (phase < step) {
        const double t = phase / step;
        return t + t - t * t - 1.0;
    }
    if (phase > 1.0 - step) {
        const double t = (phase - 1.0) / step;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

} // namespace

std::size_t sampleCount(double seconds)
{
    return static_cast<std::size_t>(std::lround(seconds * kSampleRate));
}

double secondsAt(std::size_t index)
{
    return static_cast<double>(index) / kSampleRate;
}

double noteFrequency(int key)
{
    return 440.0 * std::exp2((key - 69) / 12.0);
}

Oscillator::Oscillator(Waveform shape, double duty) : shape_(shape), duty_(duty) {}

double Oscillator::next(double frequency)
{
    const double step = std::clamp(frequency / kSampleRate, 1e-6, 0.5);
    const double phase = phase_;
    phase_ = std::fmod(phase_ + step, 1.0);

    switch (shape_) {
    case Waveform::sine:
        return std::sin(kTwoPi * phase);
    case Waveform::triangle:
        return 4.0 * std::abs(phase - 0.5) - 1.0;
    case Waveform::square: {
        double value = phase < duty_ ? 1.0 : -1.0;
        value += edgeCorrection(phase, step);
        value -= edgeCorrection(std::fmod(phase + 1.0 - duty_, 1.0), step);
        // Remove the DC offset a narrow pulse carries.
        return value - (2.0 * duty_ - 1.0);
    }
    }
    return 0.0;
}

Noise::Noise(std::uint32_t seed) : state_(seed == 0 ? 1u : seed) {}

double Noise::next()
{
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<double>(state_) / 2147483648.0 - 1.0;
}

Filter::Output Filter::process(double input, double cutoff, double resonance)
{
    const double g = std::tan(std::numbers::pi * std::min(cutoff, 0.45 * kSampleRate) / kSampleRate);
    const double k = 1.0 / resonance;
    const double a1 = 1.0 / (1.0 + g * (g + k));
    const double a2 = g * a1;
    const double a3 = g * a2;

    const double v3 = input - state2_;
    const double v1 = a1 * state1_ + a2 * v3;
    const double v2 = state2_ + a2 * state1_ + a3 * v3;
    state1_ = 2.0 * v1 - state1_;
    state2_ = 2.0 * v2 - state2_;
    return {v2, k * v1};
}

void play(Samples& out, const Voice& voice, const std::vector<Note>& notes)
{
    constexpr double attackSeconds = 0.004;
    constexpr double vibratoDelay = 0.15;
    constexpr double vibratoRamp = 0.2;
    constexpr double vibratoRate = 5.5;

    for (const Note& note : notes) {
        Oscillator oscillator(voice.shape, voice.duty);
        const double pitch = noteFrequency(note.key);
        const std::size_t first = sampleCount(note.start);
        const std::size_t last = std::min(out.size(), first + sampleCount(note.length));

        for (std::size_t index = first; index < last; ++index) {
            const double t = secondsAt(index - first);
            const double remaining = note.length - t;
            const double attack = std::min(1.0, t / attackSeconds);
            const double decay = voice.sustain + (1.0 - voice.sustain) * std::exp(-t / voice.decaySeconds);
            const double release = std::clamp(remaining / (voice.releaseShare * note.length), 0.0, 1.0);
            const double vibratoAmount = std::clamp((t - vibratoDelay) / vibratoRamp, 0.0, 1.0);
            const double vibrato = voice.vibratoDepth * vibratoAmount * std::sin(kTwoPi * vibratoRate * t);

            out[index] += static_cast<float>(voice.gain * attack * decay * release *
                                             oscillator.next(pitch * (1.0 + vibrato)));
        }
    }
}

} // namespace media
