#include "effects.h"

#include "mastering.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace media {
namespace {

// Exponential glide from one frequency to another over the given time.
double glide(double from, double to, double t, double seconds)
{
    return from * std::pow(to / from, std::min(t / seconds, 1.0));
}

double onset(double t, double seconds)
{
    return std::min(1.0, t / seconds);
}

} // namespace

Samples bombBlast()
{
    Samples out(sampleCount(1.0));
    Noise noise(0x7A3C91E5u);
    Filter whoosh;
    Filter rumble;
    Oscillator boom(Waveform::sine);

    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = secondsAt(i);
        const double white = noise.next();

        // The sweep flies open for the flash, then closes as the blast rolls away.
        const double cutoff = t < 0.2 ? glide(300.0, 6000.0, t, 0.2) : glide(6000.0, 150.0, t - 0.2, 0.8);
        const double air = whoosh.process(white, cutoff, 1.5).band * onset(t, 0.06) * std::pow(1.0 - t, 1.5);

        // Overdriving a falling sine gives the boom some growl on small speakers.
        const double body = std::tanh(2.0 * boom.next(32.0 + 120.0 * std::exp(-t / 0.18))) *
                            onset(t, 0.005) * std::exp(-t / 0.3);
        const double low = rumble.process(white, 250.0, 0.7).low * std::exp(-t / 0.4);

        out[i] = static_cast<float>(0.9 * air + 0.8 * body + 1.2 * low);
    }
    master(out);
    return out;
}

Samples enemyHit()
{
    Samples out(sampleCount(0.2));
    Noise noise(0x1B56E0D3u);
    Filter crackle;
    Oscillator zap(Waveform::square);
    Oscillator thump(Waveform::sine);

    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = secondsAt(i);
        const double tone = zap.next(160.0 + 1800.0 * std::exp(-t / 0.025)) * std::exp(-t / 0.045);
        const double burst =
            crackle.process(noise.next(), 600.0 + 7000.0 * std::exp(-t / 0.05), 0.8).low * std::exp(-t / 0.06);
        const double punch = thump.next(90.0 + 150.0 * std::exp(-t / 0.02)) * std::exp(-t / 0.05);
        out[i] = static_cast<float>(0.45 * tone + 0.8 * burst + 0.6 * punch);
    }
    master(out);
    return out;
}

Samples shipHit()
{
    // Holding every third sample and coarsely quantizing it is what makes the
    // sound crunchy and broken, like a damaged machine.
    constexpr std::size_t holdSamples = 3;
    constexpr double levels = 8.0;

    Samples out(sampleCount(1.0));
    Noise noise(0x4D2F8A17u);
    Filter debris;
    Oscillator upper(Waveform::square, 0.5);
    Oscillator lower(Waveform::square, 0.3);
    double held = 0.0;

    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = secondsAt(i);
        const double warble = 1.0 + 0.08 * std::sin(2.0 * std::numbers::pi * 23.0 * t);
        const double pitch = glide(650.0, 50.0, t, 0.95) * warble;
        const double tone = 0.6 * upper.next(pitch) + 0.4 * lower.next(pitch * 0.503);
        const double crash = debris.process(noise.next(), 200.0 + 2500.0 * std::exp(-t / 0.3), 0.9).low;
        // Crush before the envelope, so the quiet tail fades out instead of
        // collapsing onto the lowest quantization step.
        if (i % holdSamples == 0) {
            held = std::round((0.7 * tone + 1.2 * crash * std::exp(-t / 0.35)) * levels) / levels;
        }
        out[i] = static_cast<float>(held * onset(t, 0.004) * (1.0 - t));
    }
    master(out);
    return out;
}

} // namespace media
