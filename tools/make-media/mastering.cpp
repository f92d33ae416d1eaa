#include "mastering.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace media {
namespace {

constexpr double kFadeInSeconds = 0.003;
constexpr double kFadeOutSeconds = 0.012;
constexpr double kPeakDecibels = -3.0;

// Raised-cosine ramp: smooth at both of its ends, unlike a straight line.
double ramp(std::size_t position, std::size_t length)
{
    const double x = static_cast<double>(position) / static_cast<double>(length);
    return 0.5 - 0.5 * std::cos(std::numbers::pi * x);
}

} // namespace

void master(Samples& samples)
{
    const std::size_t fadeIn = std::min(samples.size(), sampleCount(kFadeInSeconds));
    const std::size_t fadeOut = std::min(samples.size(), sampleCount(kFadeOutSeconds));
    for (std::size_t i = 0; i < fadeIn; ++i) {
        samples[i] *= static_cast<float>(ramp(i, fadeIn));
    }
    for (std::size_t i = 0; i < fadeOut; ++i) {
        samples[samples.size() - 1 - i] *= static_cast<float>(ramp(i, fadeOut));
    }

    float peak = 0.0f;
    for (const float sample : samples) {
        peak = std::max(peak, std::abs(sample));
    }
    if (peak > 0.0f) {
        const double target = std::pow(10.0, kPeakDecibels / 20.0);
        for (float& sample : samples) {
            sample = static_cast<float>(sample * target / peak);
        }
    }
}

} // namespace media
